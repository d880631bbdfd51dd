#pragma once
// A progress control shown inside one pane of the main window's status bar, right of a caption
// written into that pane. The jobs create one as a local object, step it, may change its
// caption, and let it go; letting it go removes the control and gives the pane its text back.
// The bar finds the status bar by itself, through the registered main window.

#include <QPointer>
#include <QRect>
#include <QString>

namespace platform {
class CStatusBar;
}

class CProgressBar {
public:
    CProgressBar();
    ~CProgressBar();
    CProgressBar(const CProgressBar&) = delete;
    CProgressBar& operator=(const CProgressBar&) = delete;

    // Puts the control into pane `paneIndex` (which must exist) with the range 0..`maximum`
    // and the step 20. False, with nothing changed, when there is no status bar.
    bool Create(const QString& message, int sizePercent, int maximum, bool smooth, int paneIndex);
    // False when the control has no window.
    bool SetRange(int lower, int upper, int step);
    void SetStep(int step);
    // Advances the position by the step; past the upper bound it starts again from the lower.
    void StepIt();
    // Stores the caption (also without a window) and lays the bar out again.
    bool SetMessage(const QString& message);
    // Writes the caption into the pane and fits the control right of it. False when the
    // control has no window or no status bar is found.
    bool UpdateLayout();
    // Hides the control and puts back the pane's text: the idle text for pane 0, the text
    // saved at Create for any other pane.
    void RestorePane();
    // The main window's status bar (the descendant with the status bar's identifier), if any.
    static platform::CStatusBar* FindStatusBar();

    // True from a successful Create until the control is destroyed (by this object or along
    // with the status bar).
    bool HasWindow() const { return !m_control.isNull(); }
    int GetPos() const;
    int GetLower() const;
    int GetUpper() const;
    int GetStep() const;
    // The control's rectangle in the status bar's coordinates; empty without a window.
    QRect GetGeometry() const;
    // Visible on screen: the control's own flag and those of all its ancestors.
    bool IsVisible() const;
    const QString& GetMessage() const { return m_message; }

private:
    class Control;

    // Runs when the control is about to paint, which is where it follows a resized status bar.
    void OnEraseBkgnd();
    bool Layout(bool fromPaint);
    void MarkVisible();

    int m_sizePercent = 40;
    int m_paneIndex = 0;
    QString m_message;
    QString m_savedPaneText;
    QRect m_lastRect{0, 0, 0, 0};

    // The control is a child of the status bar: if the status bar goes first, Qt deletes the
    // control and this pointer clears, so the object is never deleted twice.
    QPointer<Control> m_control;
    bool m_inLayout = false;
};
