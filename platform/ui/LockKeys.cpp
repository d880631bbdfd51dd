#include "platform/ui/LockKeys.h"

#include <QGuiApplication>

#if defined(VERBENO_HAVE_XKB) && QT_CONFIG(xcb)
// Last: the X11 headers define macros (None, KeyPress, Bool...) that clash with Qt's names.
#include <X11/XKBlib.h>
#define VERBENO_LOCK_KEYS_FROM_XKB 1
#endif

namespace platform {

namespace {

LockKeyProbe g_probe = nullptr;

#ifdef VERBENO_LOCK_KEYS_FROM_XKB
bool XkbLockKeyOn(LockKey key) {
    auto* const x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* const display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    // The indicators are looked up by name: their numbers depend on the keyboard map.
    static Display* namedFor = nullptr;
    static Atom names[3] = {};
    if (namedFor != display) {
        const char* const indicatorNames[3] = {"Caps Lock", "Num Lock", "Scroll Lock"};
        for (int i = 0; i < 3; ++i)
            names[i] = XInternAtom(display, indicatorNames[i], True);
        namedFor = display;
    }
    const Atom name = names[static_cast<int>(key)];
    Bool on = False;
    if (name == None || !XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr))
        return false;
    return on == True;
}
#endif

} // namespace

bool LockKeyOn(LockKey key) {
    if (g_probe)
        return g_probe(key);
#ifdef VERBENO_LOCK_KEYS_FROM_XKB
    return XkbLockKeyOn(key);
#else
    return false;
#endif
}

void SetLockKeyProbe(LockKeyProbe probe) {
    g_probe = probe;
}

} // namespace platform
