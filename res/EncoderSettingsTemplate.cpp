#include "res/EncoderSettingsTemplate.h"

#include "res/resource.h"

namespace res {

const platform::DialogTemplate& EncoderSettingsTemplate() {
    using platform::ControlKind;
    constexpr ControlKind Radio = ControlKind::RadioButton;
    // Template order is the tab order and the order in which radio buttons are counted.
    static const platform::DialogTemplate dialog{
        IDD_ENCODER_SETTINGS,
        "MP3 File Configuration",
        {147, 185},
        "MS Sans Serif",
        8,
        {
            {1, ControlKind::DefaultPushButton, "OK", {19, 164, 50, 14}, true, false},
            {2, ControlKind::PushButton, "Cancel", {76, 164, 50, 14}, true, false},
            {IDC_COPYRIGHT, ControlKind::CheckBox, "Copyright", {19, 9, 45, 10}, true, false},
            {IDC_ORIGINAL, ControlKind::CheckBox, "Original", {19, 19, 39, 10}, true, false},
            {IDC_PRIVATE, ControlKind::CheckBox, "Private", {71, 9, 38, 10}, true, false},
            {IDC_CRC, ControlKind::CheckBox, "CRC", {71, 19, 31, 10}, true, false},
            {-1,
             ControlKind::StaticText,
             "Bitrate (kbits/s per channel)",
             {19, 36, 88, 8},
             false,
             true},
            {IDC_BITRATE_32, Radio, "32", {18, 46, 24, 10}, false, true},
            {1005, Radio, "40", {18, 56, 24, 10}, false, false},
            {1006, Radio, "48", {18, 66, 24, 10}, false, false},
            {1007, Radio, "56", {18, 76, 24, 10}, false, false},
            {1008, Radio, "64", {18, 86, 24, 10}, false, false},
            {1009, Radio, "80", {55, 46, 24, 10}, false, false},
            {1014, Radio, "96", {55, 56, 24, 10}, false, false},
            {1015, Radio, "112", {55, 66, 28, 10}, false, false},
            {1016, Radio, "128", {55, 76, 28, 10}, false, false},
            {1017, Radio, "160", {55, 86, 28, 10}, false, false},
            {1018, Radio, "192", {93, 47, 28, 10}, false, false},
            {1019, Radio, "224", {93, 57, 28, 10}, false, false},
            {1020, Radio, "256", {93, 67, 28, 10}, false, false},
            {1021, Radio, "320", {93, 77, 28, 10}, false, false},
            {-1, ControlKind::StaticText, "Number of channels", {19, 103, 64, 8}, false, true},
            {IDC_MONO, Radio, "Mono", {20, 114, 34, 10}, false, true},
            {1025, Radio, "Dual", {20, 124, 31, 10}, false, false},
            {1026, Radio, "Stereo", {20, 134, 37, 10}, false, false},
        }};
    return dialog;
}

} // namespace res
