#pragma once

#include "ResourceTemplates.h"

#include <QFont>
#include <QRect>
#include <QSize>

namespace lumivar::qt {

/// A dialog's base units: dialog units convert to pixels as x * baseX / 4
/// and y * baseY / 8.
struct BaseUnits {
    int x = 0;
    int y = 0;
    friend bool operator==(const BaseUnits&, const BaseUnits&) = default;
};

/// Windows's MulDiv: a * b / c rounded to the nearest integer, halves away
/// from zero.
int MulDiv(int a, int b, int c);

/// Base units measured the way Windows measures a dialog font: the average
/// width of the 52 Latin letters (rounded) and the font's height.
BaseUnits MeasureBaseUnits(const QFont& font);

/// The base units of a template: Windows's own figures for a face that is not
/// installed here where a window is painted to its pixel size (Tahoma 10 is
/// 7 x 16 at 96 dots per inch), else measured from `font`, the installed
/// stand-in for the template's face.
BaseUnits TemplateBaseUnits(const ui::DialogTemplate& dialog, const QFont& font);

/// Dialog units to pixels: each of x, y, width and height on its own, as
/// Windows converts the controls of a dialog.
QRect DialogToPixels(int x, int y, int width, int height, BaseUnits units);
QSize DialogToPixels(int width, int height, BaseUnits units);

} // namespace lumivar::qt
