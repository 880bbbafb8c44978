#include "ControlFactory.h"

#include "AccessibleNames.h"
#include "QtText.h"
#include "ResourceImages.h"
#include "TimePicker.h"
#include "UpDownControl.h"
#include "WindowStyles.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <map>

namespace lumivar::qt {

namespace style = ui::style;
namespace {

using ui::ControlTemplate;

bool Has(const ControlTemplate& control, std::uint32_t bits) {
    return (control.style & bits) == bits;
}

QWidget* MakeButton(const ControlTemplate& control, QWidget& window) {
    const QString text = FromUtf8(control.text);
    switch (control.style & style::kButtonKindMask) {
    case style::kGroupBox:
        return new QGroupBox(text, &window);
    case style::kCheckBox:
    case style::kAutoCheckBox:
        return new QCheckBox(text, &window);
    case style::kRadioButton:
    case style::kAutoRadioButton: {
        auto* radio = new QRadioButton(text, &window);
        // The template's WS_GROUP groups decide which buttons exclude each
        // other (a QButtonGroup each, which overrides auto-exclusive); left
        // on, it has assistive technology read a radio button, not a check box.
        radio->setAutoExclusive(true);
        QObject::connect(radio, &QAbstractButton::toggled, radio,
                         [radio](bool checked) { SetRadioTabStop(*radio, checked); });
        return radio;
    }
    default: {
        auto* button = new QPushButton(text, &window);
        // Enter belongs to the window, which sends IDOK or clicks the
        // focused button; Qt's default-button rules would do neither.
        button->setAutoDefault(false);
        button->setDefault((control.style & style::kButtonKindMask) == style::kDefPushButton);
        return button;
    }
    }
}

QWidget* MakeStatic(const ControlTemplate& control, QWidget& window) {
    switch (control.style & style::kStaticKindMask) {
    case style::kStaticIcon: {
        auto* label = new QLabel(&window);
        label->setPixmap(LoadIconPixmap(control.imageId, kIconSize));
        return label;
    }
    case style::kStaticBitmap: {
        auto* label = new QLabel(&window);
        label->setPixmap(LoadBitmapResource(control.imageId));
        return label;
    }
    case style::kStaticEtchedHorz:
    case style::kStaticEtchedVert: {
        auto* line = new QFrame(&window);
        const bool horizontal =
            (control.style & style::kStaticKindMask) == style::kStaticEtchedHorz;
        line->setFrameShape(horizontal ? QFrame::HLine : QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        return line;
    }
    default: {
        auto* label =
            new QLabel(StaticText(control.text, Has(control, style::kStaticNoPrefix)), &window);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        Qt::Alignment alignment = Qt::AlignLeft;
        if ((control.style & style::kStaticKindMask) == style::kStaticCenter)
            alignment = Qt::AlignHCenter;
        else if ((control.style & style::kStaticKindMask) == style::kStaticRight)
            alignment = Qt::AlignRight;
        label->setAlignment(alignment | Qt::AlignTop);
        return label;
    }
    }
}

QWidget* MakeEdit(const ControlTemplate& control, QWidget& window) {
    auto* edit = new QLineEdit(FromUtf8(control.text), &window);
    edit->setReadOnly(Has(control, style::kEditReadOnly));
    edit->setFrame(Has(control, style::kBorder));
    if (Has(control, style::kEditCenter))
        edit->setAlignment(Qt::AlignHCenter);
    else if (Has(control, style::kEditRight))
        edit->setAlignment(Qt::AlignRight);
    return edit;
}

// Places an up-down control against its buddy, which gives up the room it
// takes, as UDS_ALIGNRIGHT and UDS_ALIGNLEFT do.
void AlignToBuddy(const ControlTemplate& control, QWidget& upDown, QWidget& buddy, int width) {
    QRect rect = buddy.geometry();
    if (Has(control, style::kUpDownAlignRight)) {
        rect.setWidth(rect.width() - width);
        buddy.setGeometry(rect);
        upDown.setGeometry(rect.right() + 1, rect.top(), width, rect.height());
    } else if (Has(control, style::kUpDownAlignLeft)) {
        upDown.setGeometry(rect.left(), rect.top(), width, rect.height());
        rect.setLeft(rect.left() + width);
        buddy.setGeometry(rect);
    }
}

bool TakesFocus(QWidget& widget) {
    return qobject_cast<QAbstractButton*>(&widget) || qobject_cast<QLineEdit*>(&widget) ||
           qobject_cast<QAbstractSpinBox*>(&widget);
}

} // namespace

void SetRadioTabStop(QWidget& radio, bool checked) {
    radio.setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
}

QString StaticText(std::string_view text, bool noPrefix) {
    const QString raw = FromUtf8(text);
    if (noPrefix)
        return raw;
    QString shown;
    shown.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'&' && i + 1 < raw.size())
            ++i; // "&&" keeps the second, "&x" keeps x
        else if (raw[i] == u'&')
            continue;
        shown += raw[i];
    }
    return shown;
}

std::vector<DialogControl> BuildControls(const ui::DialogTemplate& dialog, QWidget& window,
                                         BaseUnits units) {
    std::vector<DialogControl> controls;
    std::map<int, QButtonGroup*> radioGroups;
    int group = 0;
    QWidget* previousFocusable = nullptr;

    for (const ControlTemplate& control : dialog.controls) {
        if (Has(control, style::kGroup))
            ++group; // a WS_GROUP control starts the next group
        const QRect rect =
            DialogToPixels(control.x, control.y, control.width, control.height, units);

        QWidget* widget = nullptr;
        if (control.className == "Button")
            widget = MakeButton(control, window);
        else if (control.className == "Static")
            widget = MakeStatic(control, window);
        else if (control.className == "Edit")
            widget = MakeEdit(control, window);
        else if (control.className == "SysDateTimePick32")
            widget = new TimePicker(&window);
        else if (control.className == "msctls_updown32")
            widget = new UpDownControl(&window);
        else
            widget = new QWidget(&window); // a class we do not know keeps its place

        widget->setObjectName(QString::number(control.id));
        widget->setGeometry(rect);
        widget->setEnabled(!Has(control, style::kDisabled));
        widget->setVisible(Has(control, style::kVisible));

        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            QButtonGroup*& buttons = radioGroups[group];
            if (!buttons) {
                buttons = new QButtonGroup(&window);
                buttons->setExclusive(true);
            }
            buttons->addButton(radio);
        } else if (qobject_cast<QGroupBox*>(widget)) {
            widget->lower(); // a frame around other controls must not take their clicks
        } else if (auto* label = qobject_cast<QLabel*>(widget);
                   label && !label->pixmap().isNull()) {
            label->resize(label->pixmap().size()); // picture statics take their picture's size
        } else if (auto* line = qobject_cast<QFrame*>(widget);
                   line && line->frameShape() == QFrame::HLine) {
            line->resize(line->width(), std::max(line->height(), 2)); // an etched line is 2 high
        } else if (auto* upDown = qobject_cast<UpDownControl*>(widget)) {
            QWidget* buddy = controls.empty() ? nullptr : controls.back().widget;
            if (buddy && Has(control, style::kUpDownAutoBuddy)) {
                upDown->SetBuddy(buddy, Has(control, style::kUpDownArrowKeys));
                AlignToBuddy(control, *upDown, *buddy, rect.width());
            }
        }

        if (TakesFocus(*widget)) {
            const bool tabStop = Has(control, style::kTabStop);
            widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
            // Every control that can take the focus keeps its template place
            // in the chain: a radio button becomes a tab stop when checked.
            if (previousFocusable)
                QWidget::setTabOrder(previousFocusable, widget);
            previousFocusable = widget;
        } else {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        controls.push_back({&control, widget});
    }
    NameControlsAfterTheirLabels(controls);
    return controls;
}

} // namespace lumivar::qt
