#pragma once
// Dialog templates as the resource script describes them: caption, font, size and the controls
// in template order, all positions in dialog units. BuildDialogControls turns one into widgets.

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class QWidget;

namespace platform {

enum class ControlKind {
    DefaultPushButton,
    PushButton,
    CheckBox,
    RadioButton,
    StaticText,
    ListBox,
    Icon
};

struct ControlTemplate {
    int id = -1; // -1 for controls that have no number (labels, icons)
    ControlKind kind = ControlKind::StaticText;
    QString text; // for an icon: the resource path of its image
    QRect du;     // x, y, width, height in dialog units
    bool tabStop = false;
    bool startsGroup = false;
};

struct DialogTemplate {
    int id = 0;
    QString caption;
    QSize du; // client size in dialog units
    QString fontName;
    int pointSize = 8;
    std::vector<ControlTemplate> controls;
};

// Creates the template's controls as children of `dialog`, in template order (which is the tab
// order), places them, gives each its number and sets the dialog's font, caption and fixed size.
// Radio buttons are grouped as the template groups them: a group runs from a control that
// starts one to the next control that starts one.
void BuildDialogControls(QWidget& dialog, const DialogTemplate& dialogTemplate);

// Radio-group exchange by the group's first button: the position of the checked button among the
// group's radio buttons, or -1 when none is checked; and the reverse (-1 clears the group).
int RadioGroupIndex(const QWidget& dialog, int firstId);
void SetRadioGroupIndex(QWidget& dialog, int firstId, int index);

} // namespace platform
