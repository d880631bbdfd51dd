#pragma once
// The toggle state of the three lock keys, as the status bar's indicators show it. Read from
// the X server's keyboard indicators on X11; always off where the platform cannot tell (the
// offscreen platform of the tests).

namespace platform {

enum class LockKey { CapsLock, NumLock, ScrollLock };

bool LockKeyOn(LockKey key);

// Replaces where the answer comes from, so a test can turn a lock on; nullptr restores the
// platform's own answer.
using LockKeyProbe = bool (*)(LockKey key);
void SetLockKeyProbe(LockKeyProbe probe);

} // namespace platform
