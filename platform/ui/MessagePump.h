#pragma once

namespace platform {

// Dispatches every event that waits, then returns: what long jobs call once per chunk to keep
// the window alive on the one user-interface thread.
void PumpMessages();

} // namespace platform
