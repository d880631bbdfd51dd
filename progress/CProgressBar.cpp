#include "progress/CProgressBar.h"

#include "platform/ui/ControlId.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/StatusBar.h"
#include "progress/ProgressLayout.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <cstdint>

namespace {
constexpr int kControlId = 1;
}

// The control window: a progress bar that keeps its own step and wraps as the classic control
// does, and lays its owner out again each time it is about to paint.
class CProgressBar::Control : public QProgressBar {
public:
    Control(QWidget* parent, CProgressBar* owner) : QProgressBar(parent), m_owner(owner) {
        setTextVisible(false);
        // A new control starts at position 0 of the range 0..100 with a step of 10.
        setValue(0);
    }

    void SetRange32(int lower, int upper) {
        // Qt empties a bar whose position falls outside a new range; the classic control
        // moves the position to the nearest bound instead.
        const int position = value();
        setRange(lower, upper);
        setValue(std::clamp(position, minimum(), maximum()));
    }

    void StepIt() {
        const std::int64_t next = std::int64_t{value()} + m_step;
        if (next > maximum())
            SetPosition(minimum()); // full: start over from the beginning
        else if (next < minimum())
            SetPosition(maximum());
        else
            SetPosition(static_cast<int>(next));
    }

    CProgressBar* m_owner;
    int m_step = 10;

protected:
    void paintEvent(QPaintEvent* event) override {
        m_sincePaint.start();
        if (m_owner)
            m_owner->OnEraseBkgnd();
        QProgressBar::paintEvent(event);
    }

private:
    // A job steps the bar thousands of times a second; QProgressBar would repaint at every
    // step, which costs more than the work it reports. The position changes at once, the
    // picture at most once a frame.
    void SetPosition(int position) {
        setAttribute(Qt::WA_UpdatesDisabled, true); // no repaint inside setValue
        setValue(position);
        setAttribute(Qt::WA_UpdatesDisabled, false);
        if (!m_sincePaint.isValid() || m_sincePaint.elapsed() >= kFrameMs) {
            update();
        } else if (!m_repaintPending) {
            m_repaintPending = true;
            QTimer::singleShot(kFrameMs - m_sincePaint.elapsed(), this, [this] {
                m_repaintPending = false;
                update();
            });
        }
    }

    static constexpr qint64 kFrameMs = 16;
    QElapsedTimer m_sincePaint;
    bool m_repaintPending = false;
};

CProgressBar::CProgressBar() = default;

CProgressBar::~CProgressBar() {
    if (m_control)
        m_control->m_owner = nullptr;
    RestorePane();
    // The status bar owns the control as its child; deleting it here takes it off the status
    // bar at once. If the status bar went first, the pointer is already null.
    delete m_control.data();
}

bool CProgressBar::Create(const QString& message, int sizePercent, int maximum,
                          [[maybe_unused]] bool smooth, int paneIndex) {
    platform::CStatusBar* const statusBar = FindStatusBar();
    if (!statusBar)
        return false;
    // Each bar is placed once; a second control would be left behind in the status bar.
    if (m_control)
        return false;

    // Qt's style decides whether a bar is drawn in blocks or smoothly, for all bars alike, so
    // `smooth` has nothing to switch here.
    const QRect pane = statusBar->GetItemRect(paneIndex);
    auto* const control = new Control(statusBar, this);
    platform::SetControlId(control, kControlId);
    control->setGeometry(pane);
    control->raise();
    control->show();
    m_control = control;

    SetRange(0, maximum, 1);
    SetStep(20);
    m_message = message;
    m_sizePercent = sizePercent;
    m_paneIndex = paneIndex;
    // Saved before the layout writes the caption into the pane.
    m_savedPaneText = statusBar->GetPaneText(paneIndex);
    UpdateLayout();
    return true;
}

bool CProgressBar::SetRange(int lower, int upper, int step) {
    if (!m_control)
        return false;
    m_control->SetRange32(lower, upper);
    m_control->m_step = step;
    return true;
}

void CProgressBar::SetStep(int step) {
    if (!m_control)
        return;
    MarkVisible();
    m_control->m_step = step;
}

void CProgressBar::StepIt() {
    if (!m_control)
        return;
    MarkVisible();
    m_control->StepIt();
}

bool CProgressBar::SetMessage(const QString& message) {
    m_message = message;
    return UpdateLayout();
}

bool CProgressBar::UpdateLayout() {
    return Layout(false);
}

void CProgressBar::OnEraseBkgnd() {
    Layout(true);
}

bool CProgressBar::Layout(bool fromPaint) {
    if (!m_control)
        return false;
    // Repainting the status bar paints the control too, which comes back here: the layout
    // that is already running finishes the work.
    if (m_inLayout)
        return true;
    platform::CStatusBar* const statusBar = FindStatusBar();
    if (!statusBar)
        return false;
    const QScopedValueRollback inLayout(m_inLayout, true);

    // A hidden status bar keeps its text; the control is still placed below.
    if (m_control->isVisible()) {
        if (!fromPaint) {
            statusBar->SetPaneText(m_paneIndex, m_message);
            statusBar->repaint();
        } else if (statusBar->GetPaneText(m_paneIndex) != m_message) {
            // In the middle of a paint only a later repaint may be asked for; and an unchanged
            // caption is not redrawn, or every paint of the control would start the next one.
            statusBar->SetPaneText(m_paneIndex, m_message);
            statusBar->update();
        }
    }

    const QFontMetrics metrics(statusBar->font());
    const QRect r = ProgressControlRect(
        statusBar->GetItemRect(m_paneIndex), metrics.horizontalAdvance(m_message),
        metrics.horizontalAdvance(QStringLiteral(" ")), m_message.isEmpty(), m_sizePercent);
    // Moved only when the place changed, so a paint that finds the layout as it was causes
    // no move and no further paint.
    if (r != m_lastRect) {
        m_control->setGeometry(r);
        m_lastRect = r;
    }
    return true;
}

void CProgressBar::RestorePane() {
    if (!m_control)
        return;
    m_control->hide();
    const QString text =
        m_paneIndex == 0 ? res::LoadString(res::AFX_IDS_IDLEMESSAGE) : m_savedPaneText;
    if (platform::CStatusBar* const statusBar = FindStatusBar()) {
        statusBar->SetPaneText(m_paneIndex, text);
        statusBar->repaint();
    }
}

platform::CStatusBar* CProgressBar::FindStatusBar() {
    QWidget* const mainWindow = platform::MainWindow();
    if (!mainWindow)
        return nullptr;
    // A frame and any other main window are searched alike, through their descendants: asking
    // a QMainWindow for its status bar would create one. What carries the status bar's
    // identifier counts only if it is a status bar.
    return platform::FindControl<platform::CStatusBar>(mainWindow, platform::kStatusBarId);
}

int CProgressBar::GetPos() const {
    return m_control ? m_control->value() : 0;
}
int CProgressBar::GetLower() const {
    return m_control ? m_control->minimum() : 0;
}
int CProgressBar::GetUpper() const {
    return m_control ? m_control->maximum() : 0;
}
int CProgressBar::GetStep() const {
    return m_control ? m_control->m_step : 0;
}
QRect CProgressBar::GetGeometry() const {
    return m_control ? m_control->geometry() : QRect();
}
bool CProgressBar::IsVisible() const {
    return m_control && m_control->isVisible();
}

void CProgressBar::MarkVisible() {
    // Sets the flag only; showing does not move the control.
    if (m_control->isHidden())
        m_control->show();
}
