#pragma once

#include "platform/ui/DialogTemplate.h"

namespace res {

// Dialog 100, "About Verbeno": the program's icon, its name and version, and OK.
const platform::DialogTemplate& AboutBoxTemplate();

} // namespace res
