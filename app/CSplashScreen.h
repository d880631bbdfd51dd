#pragma once
// The start-up picture: a borderless window in front of the main window that goes away on the
// first tick of its 750 ms timer or at the first key or mouse-button press anywhere in the
// program, which it consumes. At most one exists; it is made on the heap and deletes itself.

#include "app/Message.h"
#include "res/Images.h"

#include <QBasicTimer>
#include <QPixmap>
#include <QWidget>

class CSplashScreen : public QWidget {
    Q_OBJECT
public:
    static void Enable(bool enable) { s_enabled = enable; }
    // Creates and shows the splash screen over `owner` (may be nullptr) when it is enabled and
    // none is up. A picture that cannot be loaded means no splash screen, and no message.
    static void Show(QWidget* owner);
    // Closes the splash screen on a key press or a mouse-button press (client area or frame) and
    // returns true: the message is used up. Every other message passes.
    static bool FilterMessage(const MSG& message);

    ~CSplashScreen() override;

    // Loads the picture and makes the window, sized as the picture; false when the picture
    // cannot be loaded (then no window exists).
    bool Create(QWidget* owner);
    // Closes the window, which ends the object, then repaints the main window at once.
    void Hide();

    inline static bool s_enabled = false;
    inline static CSplashScreen* s_current = nullptr;
    // Bitmap 184; tests point it elsewhere to see what a missing picture does.
    inline static QString s_picturePath = QString::fromLatin1(res::kSplashPicture);

protected:
    // After the window's last moment: the object goes.
    virtual void PostNcDestroy();
    int OnCreate();
    void OnPaint();
    void OnTimer(int id);

    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CSplashScreen() = default;
    void DestroyWindow();

    QPixmap m_picture;
    QBasicTimer m_timer;
    bool m_destroyed = false;
};
