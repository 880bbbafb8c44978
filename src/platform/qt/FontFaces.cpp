#include "FontFaces.h"

#include "QtText.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>
#include <array>

namespace lumivar::qt {
namespace {

constexpr std::array<std::string_view, 8> kChineseFaces = {
    "宋体", "新宋体", "黑体", "微软雅黑", "SimSun", "NSimSun", "SimHei", "Microsoft YaHei",
};
constexpr std::array<std::string_view, 6> kSansFaces = {
    "Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "Arial", "Segoe UI",
};

// Chinese families in order of preference; the first is what the project's
// packages install.
const QStringList kChineseFamilies = {
    QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
    QStringLiteral("Source Han Sans SC"),  QStringLiteral("WenQuanYi Zen Hei"),
    QStringLiteral("Droid Sans Fallback"),
};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& faces, std::string_view face) {
    for (std::string_view known : faces)
        if (known == face)
            return true;
    return false;
}

QString ChineseFamily() {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : kChineseFamilies)
        if (installed.contains(family))
            return family;
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    if (!chinese.isEmpty())
        return chinese.front();
    // Nothing claims Chinese: let fontconfig's fallback find the glyphs.
    return QStringLiteral("Sans Serif");
}

QFont PixelFont(std::string_view windowsFace, int pixels) {
    QFont font(MapFontFace(windowsFace));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, pixels));
    return font;
}

} // namespace

QString MapFontFace(std::string_view windowsFace) {
    if (Contains(kChineseFaces, windowsFace)) {
        static const QString family = ChineseFamily();
        return family;
    }
    if (Contains(kSansFaces, windowsFace))
        return QStringLiteral("Sans Serif");
    return FromUtf8(windowsFace);
}

QFont PointFont(std::string_view windowsFace, int tenthsOfPoint, int dpiY) {
    return PixelFont(windowsFace, tenthsOfPoint * dpiY / 720);
}

QFont DialogFont(std::string_view windowsFace, int points, int dpiY) {
    return PixelFont(windowsFace, (points * dpiY + 36) / 72);
}

} // namespace lumivar::qt
