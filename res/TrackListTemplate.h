#pragma once
// Dialog template 133 (IDD_TRACK_LIST): the track list that the CD commands show.

#include "platform/ui/DialogTemplate.h"

namespace res {

const platform::DialogTemplate& TrackListTemplate();

} // namespace res
