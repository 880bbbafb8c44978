#pragma once

#include "DialogUnits.h"
#include "ResourceTemplates.h"

#include <QString>

#include <string_view>
#include <vector>

class QWidget;

namespace lumivar::qt {

/// One control of a dialog window, in template order.
struct DialogControl {
    const ui::ControlTemplate* source;
    QWidget* widget;
};

/// Builds the controls of `dialog` as children of `window`: one widget per
/// control, named after its id ("1002"), at its rectangle in pixels, shown,
/// enabled and grouped as its styles say, in template (= tab) order. Those
/// without a caption get their label's text as accessible name.
std::vector<DialogControl> BuildControls(const ui::DialogTemplate& dialog, QWidget& window,
                                         BaseUnits units);

/// A radio button is a tab stop exactly while it is checked: BM_SETCHECK
/// moves WS_TABSTOP so on Windows, and the dialog's first focus follows it.
void SetRadioTabStop(QWidget& radio, bool checked);

/// A static's text as Windows shows it: unless `noPrefix`, "&&" is one "&"
/// and a single "&" only marks the next letter, so it is dropped.
QString StaticText(std::string_view text, bool noPrefix);

} // namespace lumivar::qt
