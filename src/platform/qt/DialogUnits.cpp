#include "DialogUnits.h"

#include <QFontMetrics>

#include <cstdint>
#include <cstdlib>

namespace lumivar::qt {
namespace {

struct KnownUnits {
    std::string_view face;
    int points;
    BaseUnits units;
};

// Faces that Linux does not have, with the units Windows gives them at 96
// dots per inch. The countdown window is sized in these so that its picture
// (drawn in pixels) fills it exactly, whatever sans font stands in.
constexpr KnownUnits kWindowsUnits[] = {
    {"Tahoma", 10, {7, 16}},
};

} // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const std::int64_t product = std::int64_t{a} * b;
    std::int64_t quotient = product / c;
    if (2 * std::llabs(product % c) >= std::llabs(c))
        quotient += (product < 0) != (c < 0) ? -1 : 1;
    return static_cast<int>(quotient);
}

BaseUnits MeasureBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(width / 26 + 1) / 2, metrics.height()};
}

BaseUnits TemplateBaseUnits(const ui::DialogTemplate& dialog, const QFont& font) {
    for (const KnownUnits& known : kWindowsUnits)
        if (known.face == dialog.fontFace && known.points == dialog.fontPoints)
            return known.units;
    return MeasureBaseUnits(font);
}

QRect DialogToPixels(int x, int y, int width, int height, BaseUnits units) {
    return {MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(width, units.x, 4),
            MulDiv(height, units.y, 8)};
}

QSize DialogToPixels(int width, int height, BaseUnits units) {
    return {MulDiv(width, units.x, 4), MulDiv(height, units.y, 8)};
}

} // namespace lumivar::qt
