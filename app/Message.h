#pragma once
// The input messages that the program's hook looks at, with the numbers of the classic window
// messages that the program's rules are written in. CWinApp turns a queued Qt input event
// into one of these (see CWinApp::notify); any other event never reaches the hook.

#include <optional>

class QEvent;
class QObject;

namespace msg {

constexpr unsigned WM_KEYDOWN = 0x100;
constexpr unsigned WM_SYSKEYDOWN = 0x104;
constexpr unsigned WM_NCLBUTTONDOWN = 0xA1;
constexpr unsigned WM_NCLBUTTONDBLCLK = 0xA3;
constexpr unsigned WM_NCRBUTTONDOWN = 0xA4;
constexpr unsigned WM_NCRBUTTONDBLCLK = 0xA6;
constexpr unsigned WM_NCMBUTTONDOWN = 0xA7;
constexpr unsigned WM_NCMBUTTONDBLCLK = 0xA9;
constexpr unsigned WM_LBUTTONDOWN = 0x201;
constexpr unsigned WM_LBUTTONDBLCLK = 0x203;
constexpr unsigned WM_RBUTTONDOWN = 0x204;
constexpr unsigned WM_RBUTTONDBLCLK = 0x206;
constexpr unsigned WM_MBUTTONDOWN = 0x207;
constexpr unsigned WM_MBUTTONDBLCLK = 0x209;
constexpr unsigned WM_XBUTTONDOWN = 0x20B;
constexpr unsigned WM_XBUTTONDBLCLK = 0x20D;

} // namespace msg

// One queued input message: the object Qt delivers it to, its number, and the event itself.
struct MSG {
    QObject* hwnd = nullptr;
    unsigned message = 0;
    QEvent* event = nullptr;
};

// The message number of a key or mouse-button press or double click; nothing for every other
// event. A key press with Alt held and Ctrl not held is a "system" key press, as on the old
// platform; a shortcut override is the first delivery of a key press (see CWinApp::notify).
std::optional<unsigned> InputMessageNumber(const QEvent& event);
