// The compiled Dialogs.rc, linked into this program, read back the way
// Windows reads it and compared with the tables: the two outputs of the
// generator must describe the same windows. The resource compiler adds styles
// of its own where the script lets it, which only this comparison would show.
#include "ResourceTemplates.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace lumivar::ui {
namespace {

// "#" and the number: how a numbered field reads. Not "#" + to_string(n),
// which MinGW's g++ 12 warns of wrongly (-Wrestrict).
std::string Ordinal(unsigned number) {
    std::string text(1, '#');
    return text.append(std::to_string(number));
}

const WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
// Resource types by number: the RT_* macros follow UNICODE.
constexpr WORD kRtBitmap = 2, kRtMenu = 4, kRtDialog = 5, kRtString = 6, kRtGroupIcon = 14;

/// The resource in Chinese (PRC), the only language the program's resources use.
HRSRC FindChinese(WORD type, int id) {
    return ::FindResourceExW(nullptr, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id), kChinesePrc);
}

std::string Utf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                          nullptr, nullptr);
    return out;
}

/// Reads a DLGTEMPLATE or DLGTEMPLATEEX from the resource bytes.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : m_start(data), m_at(data) {}

    template <class T> T Read() {
        T value;
        std::memcpy(&value, m_at, sizeof value);
        m_at += sizeof value;
        return value;
    }
    /// A string or ordinal field: the string, or "#<ordinal>".
    std::string ReadField() {
        const auto first = Read<WORD>();
        if (first == 0xFFFF)
            return Ordinal(Read<WORD>());
        std::wstring text;
        for (WORD c = first; c != 0; c = Read<WORD>())
            text.push_back(static_cast<wchar_t>(c));
        return Utf8(text);
    }
    void AlignToDword() {
        while ((m_at - m_start) % 4 != 0)
            ++m_at;
    }
    void Skip(std::size_t bytes) { m_at += bytes; }

private:
    const BYTE* m_start;
    const BYTE* m_at;
};

struct ReadControl {
    std::uint32_t style = 0, exStyle = 0;
    int id = 0, x = 0, y = 0, width = 0, height = 0;
    std::string className, text;
};

const BYTE* LoadDialogBytes(int id) {
    const HRSRC resource = FindChinese(kRtDialog, id);
    if (!resource)
        return nullptr;
    return static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, resource)));
}

std::string ClassName(const std::string& field) {
    if (field == "#128")
        return "Button";
    if (field == "#129")
        return "Edit";
    if (field == "#130")
        return "Static";
    return field;
}

bool SameClass(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

void ExpectDialogMatches(const DialogTemplate& table) {
    SCOPED_TRACE("dialog " + std::to_string(table.id));
    const BYTE* bytes = LoadDialogBytes(table.id);
    ASSERT_NE(bytes, nullptr) << "no Chinese (PRC) dialog resource";
    TemplateReader reader(bytes);
    // DLGTEMPLATEEX starts with version 1 and signature 0xFFFF.
    const bool extended = bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    EXPECT_EQ(extended, table.extended);
    if (extended)
        reader.Skip(8); // version, signature, help id
    std::uint32_t style = 0, exStyle = 0;
    if (extended) {
        exStyle = reader.Read<DWORD>();
        style = reader.Read<DWORD>();
    } else {
        style = reader.Read<DWORD>();
        exStyle = reader.Read<DWORD>();
    }
    EXPECT_EQ(style, table.style);
    EXPECT_EQ(exStyle, table.exStyle);
    const int count = reader.Read<WORD>();
    EXPECT_EQ(reader.Read<SHORT>(), table.x);
    EXPECT_EQ(reader.Read<SHORT>(), table.y);
    EXPECT_EQ(reader.Read<SHORT>(), table.width);
    EXPECT_EQ(reader.Read<SHORT>(), table.height);
    EXPECT_EQ(reader.ReadField(), ""); // menu
    EXPECT_EQ(reader.ReadField(), ""); // window class
    EXPECT_EQ(reader.ReadField(), table.title);
    if (style & DS_SETFONT) {
        EXPECT_EQ(reader.Read<WORD>(), table.fontPoints);
        if (extended) {
            EXPECT_EQ(reader.Read<WORD>(), table.fontWeight);
            EXPECT_EQ(reader.Read<BYTE>() != 0, table.fontItalic);
            EXPECT_EQ(reader.Read<BYTE>(), table.fontCharset);
        }
        EXPECT_EQ(reader.ReadField(), table.fontFace);
    }
    ASSERT_EQ(static_cast<std::size_t>(count), table.controls.size());
    for (const ControlTemplate& expected : table.controls) {
        SCOPED_TRACE("control " + std::to_string(expected.id));
        reader.AlignToDword();
        ReadControl c;
        if (extended) {
            reader.Skip(4); // help id
            c.exStyle = reader.Read<DWORD>();
            c.style = reader.Read<DWORD>();
        } else {
            c.style = reader.Read<DWORD>();
            c.exStyle = reader.Read<DWORD>();
        }
        c.x = reader.Read<SHORT>();
        c.y = reader.Read<SHORT>();
        c.width = reader.Read<SHORT>();
        c.height = reader.Read<SHORT>();
        c.id = extended ? static_cast<int>(reader.Read<DWORD>()) : reader.Read<WORD>();
        c.className = ClassName(reader.ReadField());
        c.text = reader.ReadField();
        reader.Skip(reader.Read<WORD>()); // creation data

        EXPECT_EQ(c.id, expected.id);
        EXPECT_TRUE(SameClass(c.className, expected.className)) << c.className;
        EXPECT_EQ(c.style, expected.style);
        EXPECT_EQ(c.exStyle, expected.exStyle);
        EXPECT_EQ(c.text,
                  expected.imageId ? Ordinal(expected.imageId) : std::string(expected.text));
        EXPECT_EQ(c.x, expected.x);
        EXPECT_EQ(c.y, expected.y);
        EXPECT_EQ(c.width, expected.width);
        EXPECT_EQ(c.height, expected.height);
    }
}

TEST(LinkedResources, DialogTemplatesMatchTheTables) {
    for (int id : {102, 132, 100}) {
        const DialogTemplate* table = FindDialogTemplate(id);
        ASSERT_NE(table, nullptr) << id;
        ExpectDialogMatches(*table);
    }
}

TEST(LinkedResources, TrayMenuMatchesTheTable) {
    const MenuTemplate* table = FindMenuTemplate(136);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(FindChinese(kRtMenu, 136), nullptr);
    const HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(136));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(static_cast<std::size_t>(::GetMenuItemCount(menu)), table->popups.size());
    for (int p = 0; p < ::GetMenuItemCount(menu); ++p) {
        const PopupTemplate& popup = table->popups[static_cast<std::size_t>(p)];
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(p), text, 128, MF_BYPOSITION);
        EXPECT_EQ(Utf8(text), popup.title);
        const HMENU sub = ::GetSubMenu(menu, p);
        ASSERT_NE(sub, nullptr);
        ASSERT_EQ(static_cast<std::size_t>(::GetMenuItemCount(sub)), popup.items.size());
        for (std::size_t i = 0; i < popup.items.size(); ++i) {
            SCOPED_TRACE("position " + std::to_string(i));
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
            ASSERT_TRUE(::GetMenuItemInfoW(sub, static_cast<UINT>(i), TRUE, &info));
            const bool separator = (info.fType & MFT_SEPARATOR) != 0;
            EXPECT_EQ(separator, popup.items[i].id == 0);
            if (separator)
                continue;
            EXPECT_EQ(static_cast<int>(info.wID), popup.items[i].id);
            EXPECT_EQ(info.fState & (MFS_DISABLED | MFS_CHECKED | MFS_DEFAULT), 0u);
            ::GetMenuStringW(sub, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
            EXPECT_EQ(Utf8(text), popup.items[i].text);
        }
    }
    ::DestroyMenu(menu);
}

TEST(LinkedResources, AboutStringMatchesTheTable) {
    // Strings are stored sixteen to a block; block 7 holds 96 to 111.
    EXPECT_NE(FindChinese(kRtString, 101 / 16 + 1), nullptr);
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(::GetModuleHandleW(nullptr), 101, reinterpret_cast<wchar_t*>(&text), 0);
    ASSERT_GT(length, 0);
    EXPECT_EQ(Utf8(std::wstring_view(text, static_cast<std::size_t>(length))), FindString(101));
}

TEST(LinkedResources, IconHasBothSizes) {
    EXPECT_NE(FindChinese(kRtGroupIcon, 128), nullptr);
    for (int size : {32, 16}) {
        const auto icon = static_cast<HICON>(::LoadImageW(
            ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP mask{};
        ::GetObjectW(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, size);
        ::DeleteObject(info.hbmMask);
        ::DeleteObject(info.hbmColor);
        ::DestroyIcon(icon);
    }
}

TEST(LinkedResources, NoticeBitmapDecodes) {
    EXPECT_NE(FindChinese(kRtBitmap, 133), nullptr);
    const HBITMAP bitmap = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(133));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 313);
    EXPECT_EQ(info.bmHeight, 198);
    // The decoded picture: a dark band at the top, a light middle.
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, bitmap);
    const COLORREF top = ::GetPixel(dc, 5, 5);
    const COLORREF middle = ::GetPixel(dc, 156, 90);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    EXPECT_LT(GetRValue(top) + GetGValue(top) + GetBValue(top), 3 * 128);
    EXPECT_GT(GetRValue(middle) + GetGValue(middle) + GetBValue(middle), 3 * 200);
}

} // namespace
} // namespace lumivar::ui
