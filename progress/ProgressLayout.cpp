#include "progress/ProgressLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Works in 64 bits so that absurd widths or percentages cannot overflow; for every input whose
// 32-bit computation stays in range the result is the same, truncation toward zero included.
int ToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

} // namespace

QRect ProgressControlRect(QRect pane, int captionWidth, int spaceWidth, bool captionEmpty,
                          int sizePercent) {
    // Edges as left/top inclusive, right/bottom exclusive: the pane's own width and height.
    std::int64_t left = pane.x();
    std::int64_t top = pane.y();
    std::int64_t right = std::int64_t{pane.x()} + pane.width();
    std::int64_t bottom = std::int64_t{pane.y()} + pane.height();

    if (!captionEmpty)
        left = ToInt(left + captionWidth + 4 * std::int64_t{spaceWidth});
    // Dividing by -100 truncates the cut toward zero, which rounds the kept width up.
    right = ToInt(right + ((100 - std::int64_t{sizePercent}) * (right - left)) / -100);
    if (right < left)
        right = left;
    const std::int64_t inset = (bottom - top) / 10;
    top = ToInt(top + inset);
    bottom = ToInt(bottom - inset);

    return QRect(ToInt(left), ToInt(top), ToInt(right - left), ToInt(bottom - top));
}
