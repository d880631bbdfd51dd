#include "res/AboutBoxTemplate.h"

#include "res/Images.h"
#include "res/resource.h"

namespace res {

const platform::DialogTemplate& AboutBoxTemplate() {
    using platform::ControlKind;
    static const platform::DialogTemplate dialog{
        IDD_ABOUTBOX,
        "About Verbeno",
        {235, 73},
        "MS Sans Serif",
        8,
        {
            {-1,
             ControlKind::Icon,
             QString::fromLatin1(kProgramIcon),
             {11, 17, 20, 20},
             false,
             false},
            {-1, ControlKind::StaticText, "Verbeno Version 1.0", {43, 10, 119, 8}, false, false},
            {1, ControlKind::DefaultPushButton, "OK", {178, 7, 50, 14}, true, true},
        }};
    return dialog;
}

} // namespace res
