#include "platform/ui/StatusBar.h"

#include "platform/ui/ControlId.h"

#include <QLabel>
#include <QLayout>

namespace platform {

CStatusBar::CStatusBar(QWidget* parent) : QStatusBar(parent) {
    SetControlId(this, kStatusBarId);
    setObjectName(QStringLiteral("statusBar"));
}

bool CStatusBar::SetIndicators(const std::vector<Indicator>& indicators) {
    for (const Pane& pane : m_panes) {
        removeWidget(pane.label);
        delete pane.label;
    }
    m_panes.clear();
    for (const Indicator& indicator : indicators) {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        if (indicator.id == 0) {
            label->setMinimumWidth(1);
            addWidget(label, 1);
        } else {
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(QFrame::Sunken);
            label->setAlignment(Qt::AlignCenter);
            const int width = label->fontMetrics().horizontalAdvance(indicator.text) +
                              2 * label->frameWidth() + 8;
            label->setFixedWidth(width);
            addPermanentWidget(label);
        }
        SetControlId(label, indicator.id);
        m_panes.push_back({indicator.id, label});
    }
    return true;
}

int CStatusBar::PaneId(int index) const {
    return index >= 0 && index < PaneCount() ? m_panes[static_cast<std::size_t>(index)].id : -1;
}

QRect CStatusBar::GetItemRect(int index) const {
    if (index < 0 || index >= PaneCount())
        return {};
    // A hidden status bar still answers with where its panes would lie.
    if (QLayout* box = layout())
        box->activate();
    return m_panes[static_cast<std::size_t>(index)].label->geometry();
}

QString CStatusBar::GetPaneText(int index) const {
    if (index < 0 || index >= PaneCount())
        return {};
    return m_panes[static_cast<std::size_t>(index)].label->text();
}

bool CStatusBar::SetPaneText(int index, const QString& text, bool update) {
    if (index < 0 || index >= PaneCount())
        return false;
    QLabel* label = m_panes[static_cast<std::size_t>(index)].label;
    label->setText(text);
    if (update)
        label->update();
    return true;
}

} // namespace platform
