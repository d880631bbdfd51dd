#pragma once

#include <QKeyCombination>
#include <vector>

namespace res {

struct Accelerator {
    QKeyCombination keys;
    int command = 0;
};

// Accelerator table 128 of the main window. Every entry is a key with its modifiers.
const std::vector<Accelerator>& MainAccelerators();

} // namespace res
