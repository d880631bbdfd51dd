#include "platform/ui/DialogTemplate.h"

#include "platform/ui/ControlId.h"
#include "platform/ui/DialogUnits.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace platform {

namespace {

constexpr const char* kGroupProperty = "verbenoRadioGroup";

QWidget* CreateControl(QWidget& dialog, const ControlTemplate& control) {
    switch (control.kind) {
    case ControlKind::DefaultPushButton:
    case ControlKind::PushButton: {
        auto* button = new QPushButton(control.text, &dialog);
        button->setAutoDefault(false);
        button->setDefault(control.kind == ControlKind::DefaultPushButton);
        return button;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(control.text, &dialog);
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(control.text, &dialog);
        radio->setAutoExclusive(false); // exclusivity comes from the template's group
        return radio;
    }
    case ControlKind::StaticText: {
        auto* label = new QLabel(control.text, &dialog);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::ListBox:
        return new QListWidget(&dialog);
    case ControlKind::Icon: {
        auto* icon = new QLabel(&dialog);
        icon->setPixmap(QPixmap(control.text));
        icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return icon;
    }
    }
    return nullptr;
}

std::vector<QRadioButton*> GroupButtons(const QWidget& dialog, int firstId) {
    std::vector<QRadioButton*> buttons;
    for (QRadioButton* radio : dialog.findChildren<QRadioButton*>()) {
        if (radio->property(kGroupProperty).toInt() == firstId)
            buttons.push_back(radio); // findChildren keeps creation order, the template's order
    }
    return buttons;
}

} // namespace

void BuildDialogControls(QWidget& dialog, const DialogTemplate& dialogTemplate) {
    QFont font(dialogTemplate.fontName);
    font.setPointSize(dialogTemplate.pointSize);
    font.setStyleHint(QFont::SansSerif);
    dialog.setFont(font);
    dialog.setWindowTitle(dialogTemplate.caption);
    dialog.setFixedSize(DialogUnitsToPixels(font, dialogTemplate.du));

    QButtonGroup* group = nullptr;
    int groupFirstId = -1;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (control.startsGroup)
            group = nullptr;
        QWidget* widget = CreateControl(dialog, control);
        widget->setFont(font);
        widget->setGeometry(DialogUnitsToPixels(font, control.du));
        if (control.id >= 0)
            SetControlId(widget, control.id);
        if (control.kind == ControlKind::StaticText || control.kind == ControlKind::Icon)
            widget->setFocusPolicy(Qt::NoFocus);
        else
            widget->setFocusPolicy(control.tabStop ? Qt::StrongFocus : Qt::ClickFocus);

        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            if (!group) {
                group = new QButtonGroup(&dialog);
                group->setExclusive(true);
                groupFirstId = control.id;
            }
            group->addButton(radio);
            radio->setProperty(kGroupProperty, groupFirstId);
        }
    }
}

int RadioGroupIndex(const QWidget& dialog, int firstId) {
    const std::vector<QRadioButton*> buttons = GroupButtons(dialog, firstId);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked())
            return static_cast<int>(i);
    }
    return -1;
}

void SetRadioGroupIndex(QWidget& dialog, int firstId, int index) {
    const std::vector<QRadioButton*> buttons = GroupButtons(dialog, firstId);
    if (buttons.empty())
        return;
    QButtonGroup* group = buttons.front()->group();
    // An exclusive group refuses to uncheck its last checked button, so clear it unguarded.
    if (group)
        group->setExclusive(false);
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setChecked(static_cast<int>(i) == index);
    if (group)
        group->setExclusive(true);
}

} // namespace platform
