#include "res/TrackListTemplate.h"

#include "res/resource.h"

namespace res {

const platform::DialogTemplate& TrackListTemplate() {
    using platform::ControlKind;
    // Template order is the tab order: OK, Cancel, the list, Rip.
    static const platform::DialogTemplate tmpl{
        IDD_TRACK_LIST,
        QStringLiteral("List of Audio Tracks"),
        {142, 209},
        QStringLiteral("MS Sans Serif"),
        8,
        {{1, ControlKind::DefaultPushButton, QStringLiteral("OK"), {17, 188, 50, 14}, true, true},
         {2, ControlKind::PushButton, QStringLiteral("Cancel"), {79, 188, 50, 14}, true, false},
         {IDC_TRACK_LIST, ControlKind::ListBox, QString(), {23, 7, 48, 160}, true, false},
         {IDC_RIP,
          ControlKind::PushButton,
          QStringLiteral("Rip"),
          {83, 149, 32, 14},
          true,
          false}}};
    return tmpl;
}

} // namespace res
