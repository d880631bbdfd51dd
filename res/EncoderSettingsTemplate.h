#pragma once

#include "platform/ui/DialogTemplate.h"

namespace res {

// Dialog 130, "MP3 File Configuration": the four flags, the bitrate group and the channel group.
const platform::DialogTemplate& EncoderSettingsTemplate();

} // namespace res
