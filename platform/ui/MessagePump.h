#pragma once

namespace platform {

// Dispatches every event that waits, then returns: what long jobs call once per chunk to keep
// the window alive on the one user-interface thread.
void PumpMessages();

// True while PumpMessages dispatches: events then come from a job's own loop, not from the
// program's main loop or a dialog's.
bool InsideMessagePump();

} // namespace platform
