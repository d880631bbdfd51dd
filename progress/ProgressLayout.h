#pragma once
// Where the progress control goes inside its status-bar pane: right of the caption, taking a
// share of what is left of the pane, inset a little from the pane's top and bottom.

#include <QRect>

// `pane` is the pane's rectangle in the status bar's coordinates; `captionWidth` and
// `spaceWidth` are the pixel extents of the caption and of one space in the status bar's font.
// The caption is followed by a gap of four spaces unless it is empty. The control keeps
// `sizePercent` percent of the width from its left edge to the pane's right edge (the part cut
// off is truncated, so the control's width is rounded up) and never gets a negative width.
QRect ProgressControlRect(QRect pane, int captionWidth, int spaceWidth, bool captionEmpty,
                          int sizePercent);
