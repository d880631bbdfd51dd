#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace platform {

// The dialog base units of `font`: the average character width (of the 52 letters, rounded as
// Windows rounds it) and the character height, in pixels.
QSize DialogBaseUnits(const QFont& font);

// A rectangle in dialog units (x and width in quarters of the average character width, y and
// height in eighths of the character height) converted to pixels, rounding to nearest.
QRect DialogUnitsToPixels(const QFont& font, const QRect& dialogUnits);
QSize DialogUnitsToPixels(const QFont& font, const QSize& dialogUnits);

} // namespace platform
