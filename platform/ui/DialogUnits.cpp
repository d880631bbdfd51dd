#include "platform/ui/DialogUnits.h"

#include <QFontMetrics>

namespace platform {

namespace {
int MulDiv(int number, int numerator, int denominator) {
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}
} // namespace

QSize DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((letters / 26 + 1) / 2, metrics.height());
}

QRect DialogUnitsToPixels(const QFont& font, const QRect& du) {
    const QSize base = DialogBaseUnits(font);
    return QRect(MulDiv(du.x(), base.width(), 4), MulDiv(du.y(), base.height(), 8),
                 MulDiv(du.width(), base.width(), 4), MulDiv(du.height(), base.height(), 8));
}

QSize DialogUnitsToPixels(const QFont& font, const QSize& du) {
    return DialogUnitsToPixels(font, QRect(QPoint(0, 0), du)).size();
}

} // namespace platform
