#pragma once

#include "platform/ui/Dialog.h"

// The About box (dialog 100). OK, Enter, Escape and the close box end it; it exchanges no data.
class CAboutBox : public platform::CDialog {
    Q_OBJECT
public:
    CAboutBox();
};
