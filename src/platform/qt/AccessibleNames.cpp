#include "AccessibleNames.h"

#include "UpDownControl.h"
#include "WindowStyles.h"

#include <QToolButton>
#include <QWidget>

#include <algorithm>

namespace lumivar::qt {

namespace style = ui::style;
namespace {

using ui::ControlTemplate;

bool HasOwnCaption(const ControlTemplate& control) {
    return control.className != "Edit" && control.className != "SysDateTimePick32";
}

bool IsPushButton(const ControlTemplate& control) {
    const std::uint32_t kind = control.style & style::kButtonKindMask;
    return control.className == "Button" &&
           (kind == style::kPushButton || kind == style::kDefPushButton);
}

// Another push button reads the same: a caption alone cannot tell them apart.
bool SharesCaption(const ControlTemplate& button, const std::vector<DialogControl>& controls) {
    return std::any_of(controls.begin(), controls.end(), [&](const DialogControl& other) {
        return other.source != &button && IsPushButton(*other.source) &&
               other.source->text == button.text;
    });
}

// Controls whose caption is read as the label of what stands at their right.
bool IsLabel(const ControlTemplate& control) {
    if (control.text.empty())
        return false;
    if (control.className == "Static") {
        const std::uint32_t kind = control.style & style::kStaticKindMask;
        return kind == 0 /* SS_LEFT */ || kind == style::kStaticCenter ||
               kind == style::kStaticRight;
    }
    if (control.className == "Button") {
        switch (control.style & style::kButtonKindMask) {
        case style::kCheckBox:
        case style::kAutoCheckBox:
        case style::kRadioButton:
        case style::kAutoRadioButton:
            return true;
        }
    }
    return false;
}

// The label ends left of the control, and its middle is on the control's line.
const ControlTemplate* LabelBeside(const ControlTemplate& control,
                                   const std::vector<DialogControl>& controls) {
    const ControlTemplate* nearest = nullptr;
    for (const DialogControl& other : controls) {
        const ControlTemplate& label = *other.source;
        const int middle = label.y + label.height / 2;
        if (IsLabel(label) && label.x + label.width <= control.x && middle >= control.y &&
            middle < control.y + control.height &&
            (!nearest || label.x + label.width > nearest->x + nearest->width))
            nearest = &label;
    }
    return nearest;
}

QString NameFrom(const ControlTemplate& label) {
    const bool noPrefix =
        label.className == "Static" && (label.style & style::kStaticNoPrefix) != 0;
    QString name = StaticText(label.text, noPrefix).trimmed();
    if (name.endsWith(u':') || name.endsWith(u'\uFF1A'))
        name.chop(1);
    return name;
}

} // namespace

void NameControlsAfterTheirLabels(const std::vector<DialogControl>& controls) {
    for (const DialogControl& control : controls) {
        const ControlTemplate& source = *control.source;
        const ControlTemplate* label = LabelBeside(source, controls);
        if (!label)
            continue;
        if (!HasOwnCaption(source))
            control.widget->setAccessibleName(NameFrom(*label));
        else if (IsPushButton(source) && SharesCaption(source, controls))
            control.widget->setAccessibleName(StaticText(source.text, false) + u'\uFF08' +
                                              NameFrom(*label) + u'\uFF09');
    }
    for (const DialogControl& control : controls) {
        auto* upDown = qobject_cast<UpDownControl*>(control.widget);
        if (!upDown || !upDown->Buddy())
            continue;
        const QString name = upDown->Buddy()->accessibleName();
        upDown->setAccessibleName(name);
        // The program's one up-down counts upwards: the upper arrow adds.
        upDown->UpButton()->setAccessibleName(QStringLiteral("增加") + name);
        upDown->DownButton()->setAccessibleName(QStringLiteral("减少") + name);
    }
}

} // namespace lumivar::qt
