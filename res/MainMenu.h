#pragma once

#include <QString>
#include <vector>

namespace res {

// One entry of a menu: a command item, or a popup (command 0) holding its own items.
struct MenuItem {
    QString text; // with "&" before the mnemonic
    int command = 0;
    std::vector<MenuItem> items;
};

// Menu 128, the main window's menu bar: its popups in order. No separators, no recent files.
const std::vector<MenuItem>& MainMenu();

} // namespace res
