#pragma once

// The program's resources as data: dialog templates, menus and strings. One
// source of truth (res/resources.json) generates both these tables, which the
// Qt host builds its windows from, and the Windows resource script.

#include <cstdint>
#include <span>
#include <string_view>

namespace lumivar::ui {

struct ControlTemplate {
    int id; // 65535 (0xFFFF) for a control without an id
    // "Button", "Static", "Edit", "SysDateTimePick32", "msctls_updown32"
    std::string_view className;
    std::uint32_t style; // WS_* and class style bits, WS_CHILD included
    std::uint32_t exStyle;
    std::string_view text;   // UTF-8; empty for none
    int imageId;             // SS_ICON / SS_BITMAP statics: the resource id; else 0
    int x, y, width, height; // dialog units
};

struct DialogTemplate {
    int id;
    bool extended; // DIALOGEX
    std::uint32_t style;
    std::uint32_t exStyle;
    int x, y, width, height;   // dialog units
    std::string_view title;    // UTF-8
    std::string_view fontFace; // UTF-8, e.g. "宋体"
    int fontPoints;
    int fontWeight;
    bool fontItalic;
    int fontCharset;
    std::span<const ControlTemplate> controls; // template order = tab order
};

struct MenuItemTemplate {
    int id;                // 0 for a separator
    std::string_view text; // UTF-8 with "&" marking the access key
};

struct PopupTemplate {
    std::string_view title;
    std::span<const MenuItemTemplate> items;
};

struct MenuTemplate {
    int id;
    std::span<const PopupTemplate> popups;
};

/// Null when the program has no such resource.
const DialogTemplate* FindDialogTemplate(int id);
const MenuTemplate* FindMenuTemplate(int id);
/// Empty when the string table has no such string.
std::string_view FindString(int id);

} // namespace lumivar::ui
