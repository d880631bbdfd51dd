#pragma once
// A status bar made of panes, as the classic framework's status bar is: pane 0 is the message
// pane and stretches, the indicator panes keep the width of their text. Panes are addressed by
// index; their rectangles are in the status bar's own coordinates.

#include <QStatusBar>
#include <vector>

class QLabel;

namespace platform {

constexpr int kStatusBarId = 59393; // the frame's status bar child identifier

struct Indicator {
    int id = 0;   // 0: the stretching message pane
    QString text; // the text whose width the pane keeps
};

class CStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CStatusBar(QWidget* parent);

    // Replaces all panes; the panes start blank.
    bool SetIndicators(const std::vector<Indicator>& indicators);
    int PaneCount() const { return static_cast<int>(m_panes.size()); }
    int PaneId(int index) const;
    // The pane's rectangle; an empty rectangle when there is no such pane.
    QRect GetItemRect(int index) const;
    QString GetPaneText(int index) const;
    // Sets the text and redraws the pane (when `update`); false when there is no such pane.
    bool SetPaneText(int index, const QString& text, bool update = true);

private:
    struct Pane {
        int id;
        QLabel* label;
    };
    std::vector<Pane> m_panes;
};

} // namespace platform
