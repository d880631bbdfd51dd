#include "app/CSplashScreen.h"

#include "platform/ui/MainWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

namespace {
constexpr int kSplashTimerMs = 750;
}

CSplashScreen::~CSplashScreen() {
    if (s_current == this)
        s_current = nullptr;
}

void CSplashScreen::Show(QWidget* owner) {
    if (!s_enabled || s_current)
        return;
    // Owned by nobody until the window exists; from then on by itself (and, as any child
    // window, by its owner when the owner goes first).
    auto* const splash = new CSplashScreen;
    s_current = splash;
    if (!splash->Create(owner)) {
        if (s_current == splash)
            delete splash; // its destructor clears s_current
        return;
    }
    // So that the picture is there before the program's event loop runs.
    splash->repaint();
}

bool CSplashScreen::Create(QWidget* owner) {
    if (!m_picture.load(s_picturePath))
        return false;
    setParent(owner, Qt::SplashScreen | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent); // the picture covers the window; nothing under it
    setCursor(Qt::ArrowCursor);
    resize(m_picture.deviceIndependentSize().toSize());
    if (OnCreate() == -1)
        return false;
    show();
    return true;
}

int CSplashScreen::OnCreate() {
    QWidget* const owner = parentWidget();
    QScreen* screen = owner ? owner->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    QRect placed(QPoint(0, 0), size());
    if (owner && owner->isVisible() && !owner->isMinimized())
        placed.moveCenter(owner->frameGeometry().center());
    else
        placed.moveCenter(area.center());
    if (!area.isEmpty()) {
        placed.moveRight(std::min(placed.right(), area.right()));
        placed.moveBottom(std::min(placed.bottom(), area.bottom()));
        placed.moveLeft(std::max(placed.left(), area.left()));
        placed.moveTop(std::max(placed.top(), area.top()));
    }
    move(placed.topLeft());

    // The owner is shown after this window; keep in front of it when that happens.
    if (owner)
        owner->installEventFilter(this);
    m_timer.start(kSplashTimerMs, Qt::PreciseTimer, this);
    return 0;
}

void CSplashScreen::paintEvent(QPaintEvent*) {
    OnPaint();
}

void CSplashScreen::OnPaint() {
    QPainter dc(this);
    dc.drawPixmap(QPoint(0, 0), m_picture);
}

void CSplashScreen::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId())
        OnTimer(1);
    else
        QWidget::timerEvent(event);
}

void CSplashScreen::OnTimer(int) {
    Hide();
}

bool CSplashScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched == parentWidget() && !m_destroyed)
        raise();
    return QWidget::eventFilter(watched, event);
}

bool CSplashScreen::FilterMessage(const MSG& message) {
    if (!s_current)
        return false;
    switch (message.message) {
    case msg::WM_KEYDOWN:
    case msg::WM_SYSKEYDOWN:
    case msg::WM_LBUTTONDOWN:
    case msg::WM_RBUTTONDOWN:
    case msg::WM_MBUTTONDOWN:
    case msg::WM_NCLBUTTONDOWN:
    case msg::WM_NCRBUTTONDOWN:
    case msg::WM_NCMBUTTONDOWN:
        s_current->Hide();
        return true;
    default:
        return false;
    }
}

void CSplashScreen::Hide() {
    DestroyWindow();
    // Nothing of this object is touched from here on.
    if (QWidget* const mainWindow = platform::MainWindow(); mainWindow && mainWindow->isVisible()) {
        // Qt repaints a window without the children that cover it, and the view covers most of
        // it: mark those too, then have everything that is marked painted now.
        for (QWidget* const child : mainWindow->findChildren<QWidget*>()) {
            if (!child->isWindow() && child->isVisible())
                child->update();
        }
        mainWindow->repaint();
    }
}

void CSplashScreen::DestroyWindow() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_timer.stop();
    if (QWidget* const owner = parentWidget())
        owner->removeEventFilter(this);
    hide();
    if (s_current == this)
        s_current = nullptr;
    PostNcDestroy();
}

void CSplashScreen::PostNcDestroy() {
    // Qt must not delete a widget inside one of its own event handlers (the timer's, say), so the
    // object goes at the next turn of the event loop. It is already gone for the program: hidden,
    // its timer stopped and s_current cleared.
    deleteLater();
}
