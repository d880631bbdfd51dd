#pragma once
// A toolbar of fixed-size image buttons cut from one strip: flat, with a gripper, tool tips and
// prompts in the frame's status bar, dockable at any edge of the frame or floating.

#include "res/MainToolBar.h"

#include <QToolBar>

class CFrameWnd;

class CToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit CToolBar(QWidget* parent);

    // The bar's styles and its identifier (the command number that shows and hides it).
    bool CreateEx(int id);
    // One button per command of `resource`, with the frame's action for that command; its
    // image is the matching slice of the strip (none when the strip cannot be loaded).
    bool LoadToolBar(const res::ToolBarResource& resource, CFrameWnd& frame);
    void EnableDocking(Qt::ToolBarAreas areas) { setAllowedAreas(areas); }

protected:
    bool event(QEvent* event) override;
};
