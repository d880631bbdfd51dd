#pragma once

#include <QSize>
#include <QString>
#include <vector>

namespace res {

// A toolbar resource: the strip whose n-th slice of buttonSize.width() pixels is the n-th
// button's image, and the buttons' commands from left to right.
struct ToolBarResource {
    int id = 0;
    QString bitmap; // resource path of the strip
    QSize buttonSize;
    std::vector<int> commands;
};

// Toolbar 128: four 60 x 50 buttons from bitmap 128, no separators.
const ToolBarResource& MainToolBar();

} // namespace res
