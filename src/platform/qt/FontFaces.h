#pragma once

#include <QFont>
#include <QString>

#include <string_view>

namespace lumivar::qt {

/// The installed family that stands in for a Windows face name: the Chinese
/// faces ("宋体", "黑体") become a font with Chinese glyphs, Tahoma and the
/// other Windows UI faces a sans font; any other name is used as it is.
QString MapFontFace(std::string_view windowsFace);

/// A font by Windows face name and size in tenths of a point, with the pixel
/// height Windows gives it on a screen of `dpiY`: points x dpi / 72, rounded
/// down. Every other attribute keeps its default.
QFont PointFont(std::string_view windowsFace, int tenthsOfPoint, int dpiY);

/// A dialog template's font: `points` converted to pixels on a screen of
/// `dpiY` and rounded to the nearest pixel, as Windows makes dialog fonts.
QFont DialogFont(std::string_view windowsFace, int points, int dpiY);

} // namespace lumivar::qt
