#!/usr/bin/env python3
"""Generates the program's resources from res/resources.json.

Writes the C++ tables behind src/ui/ResourceTemplates.h (what the Qt host
builds its windows from) and the Windows resource script (for windres -c
65001), so that both describe the same windows. Styles are written as lists of
Win32 names in the JSON, valued by src/ui/WindowStyles.h; a name that is
unknown, belongs to another control class, or does not add up to a given
"styleValue" stops the build. An id is a number or a name #defined in one of
the --ids headers, which keep each number the code uses in one place.

Usage: gen_resources.py RESOURCES_JSON --styles WindowStyles.h [--ids HEADER...]
                        [--version X.Y.Z.W] [--cpp OUT.cpp] [--rc OUT.rc]
Texts may name the version as @PROJECT_VERSION@; writing either output then
needs --version. With neither output the JSON is only checked. Standard
library only.
"""

import argparse
import json
import os
import re
import sys

# Each Win32 style name belongs to a family (which control class may use it),
# told by its prefix; its value is read from WindowStyles.h.
WINDOW = "WS"
DIALOG = "DS"
EX = "WS_EX"
FAMILIES = (("WS_EX_", EX), ("WS_", WINDOW), ("DS_", DIALOG), ("BS_", "Button"),
            ("SS_", "Static"), ("ES_", "Edit"), ("DTS_", "SysDateTimePick32"),
            ("UDS_", "msctls_updown32"))
CONTROL_CLASSES = ("Button", "Static", "Edit", "SysDateTimePick32", "msctls_updown32")
# The names that are alternatives sharing their family's low bits, of which a
# control takes one.
KINDS = {"BS_PUSHBUTTON", "BS_DEFPUSHBUTTON", "BS_CHECKBOX", "BS_AUTOCHECKBOX",
         "BS_RADIOBUTTON", "BS_GROUPBOX", "BS_AUTORADIOBUTTON", "SS_LEFT", "SS_CENTER",
         "SS_RIGHT", "SS_ICON", "SS_BITMAP", "SS_ETCHEDHORZ", "SS_ETCHEDVERT", "ES_LEFT",
         "ES_CENTER", "ES_RIGHT", "DTS_TIMEFORMAT"}
NO_ID = 0xFFFF


class ResourceError(Exception):
    pass


def fail(where, message):
    raise ResourceError(f"{where}: {message}")


def check_keys(where, record, required, optional=()):
    if not isinstance(record, dict):
        fail(where, "expected an object")
    missing = [key for key in required if key not in record]
    if missing:
        fail(where, "missing " + ", ".join(missing))
    unknown = sorted(set(record) - set(required) - set(optional) - {"note"})
    if unknown:
        fail(where, "unknown key " + ", ".join(unknown))


def integer(where, value, low, high):
    if isinstance(value, bool) or not isinstance(value, int) or not low <= value <= high:
        fail(where, f"expected an integer from {low} to {high}, got {value!r}")
    return value


def text(where, value, allow_empty=True):
    if not isinstance(value, str):
        fail(where, f"expected a string, got {value!r}")
    if not value and not allow_empty:
        fail(where, "must not be empty")
    if any(ord(c) < 0x20 or ord(c) == 0x7F for c in value):
        # Neither output escapes them the same way; nothing needs them yet.
        fail(where, "control characters are not supported")
    return value


def listed(where, value):
    if not isinstance(value, list):
        fail(where, "expected a list")
    return value


def read_styles(path):
    """Win32 name -> (value, family, is a kind) of each style constant in path."""
    styles = {}
    with open(path, encoding="utf-8") as stream:
        for number, line in enumerate(stream, 1):
            match = re.search(r"= (0x[0-9A-Fa-f]+|[0-9]+); +// ([A-Z][A-Z0-9_]*)", line)
            if not match:
                continue
            name = match.group(2)
            family = next((f for prefix, f in FAMILIES if name.startswith(prefix)), None)
            if family is None or name in styles:
                fail(f"{path}:{number}", f"{name} is unknown or named twice")
            styles[name] = (int(match.group(1), 0), family, name in KINDS)
    return styles


def read_ids(paths):
    """Name -> number of each #define NAME VALUE, VALUE a number or an earlier name."""
    ids = {}
    for path in paths:
        with open(path, encoding="utf-8") as stream:
            for number, line in enumerate(stream, 1):
                match = re.match(r"\s*#\s*define\s+(\w+)\s+(\w+)\s*(//.*)?$", line)
                if not match:
                    continue
                name, value = match.group(1), match.group(2)
                if name in ids:
                    fail(f"{path}:{number}", f"{name} defined twice")
                try:
                    ids[name] = ids[value] if value in ids else int(value, 0)
                except ValueError:
                    fail(f"{path}:{number}", f"{value!r} is neither a number nor an earlier id")
    return ids


def resolve_ids(node, ids, where=""):
    """Puts the number in for each id or image given by name, in place."""
    items = node.items() if isinstance(node, dict) else enumerate(node)
    for key, value in items:
        inner = f"{where}[{key}]" if isinstance(node, list) else f"{where}.{key}".lstrip(".")
        if key in ("id", "image") and isinstance(value, str):
            if value not in ids:
                fail(inner, f"unknown id {value!r}")
            node[key] = ids[value]
        elif isinstance(value, (dict, list)):
            resolve_ids(value, ids, inner)


def flags(where, names, families, styles, given=None):
    """ORs a list of names, each from one of families; checks it against given."""
    if not isinstance(names, list) or not all(isinstance(n, str) for n in names):
        fail(where, "expected a list of names")
    if len(set(names)) != len(names):
        fail(where, "a name is listed twice")
    value = 0
    types = []
    for name in names:
        if name not in styles:
            fail(where, f"unknown style name {name!r}: WindowStyles.h gives its value")
        bits, family, kind = styles[name]
        if family not in families:
            fail(where, f"{name} does not belong here (allowed: {', '.join(families)})")
        if kind:
            types.append(name)
        value |= bits
    if len(types) > 1:
        fail(where, "more than one type style: " + ", ".join(types))
    if given is not None:
        try:
            expected = int(given, 16) if isinstance(given, str) else None
        except ValueError:
            expected = None
        if expected is None:
            fail(where, f"the given value {given!r} is not a hex string")
        if expected != value:
            fail(where, f"names add up to 0x{value:08X}, not the given 0x{expected:08X}")
    return value


def load_control(where, record, styles):
    check_keys(where, record, ("id", "class", "style", "text", "x", "y", "width", "height"),
               ("styleValue", "exStyle", "exStyleValue", "image"))
    cls = record["class"]
    if cls not in CONTROL_CLASSES:
        fail(where, f"unknown class {cls!r}")
    names = record["style"]
    control = {
        "id": integer(where + ".id", record["id"], 0, NO_ID),
        "class": cls,
        "styleNames": names,
        "style": flags(where + ".style", names, (WINDOW, cls), styles,
                       record.get("styleValue")),
        "exStyleNames": record.get("exStyle", []),
        "exStyle": flags(where + ".exStyle", record.get("exStyle", []), (EX,), styles,
                         record.get("exStyleValue")),
        "text": text(where + ".text", record["text"]),
        "image": 0,
    }
    for key in ("x", "y"):
        control[key] = integer(f"{where}.{key}", record[key], -32768, 32767)
    for key in ("width", "height"):
        control[key] = integer(f"{where}.{key}", record[key], 0, 32767)
    if "WS_CHILD" not in names:
        fail(where, "a control needs WS_CHILD")
    shows_image = "SS_ICON" in names or "SS_BITMAP" in names
    if shows_image:
        control["image"] = integer(where + ".image", record.get("image"), 1, 0xFFFF)
        if control["text"]:
            fail(where, "an image static names its picture by image, not text")
    elif "image" in record:
        fail(where, "image is only for SS_ICON and SS_BITMAP statics")
    return control


def load_dialog(where, record, styles):
    check_keys(where, record,
               ("id", "extended", "style", "exStyle", "x", "y", "width", "height", "title",
                "controls"),
               ("styleValue", "exStyleValue", "font"))
    names = record["style"]
    dialog = {
        "id": integer(where + ".id", record["id"], 1, 0xFFFF),
        "extended": record["extended"],
        "styleNames": names,
        "style": flags(where + ".style", names, (WINDOW, DIALOG), styles,
                       record.get("styleValue")),
        "exStyleNames": record["exStyle"],
        "exStyle": flags(where + ".exStyle", record["exStyle"], (EX,), styles,
                         record.get("exStyleValue")),
        "title": text(where + ".title", record["title"]),
    }
    if not isinstance(dialog["extended"], bool):
        fail(where + ".extended", "expected true or false")
    for key in ("x", "y"):
        dialog[key] = integer(f"{where}.{key}", record[key], -32768, 32767)
    for key in ("width", "height"):
        dialog[key] = integer(f"{where}.{key}", record[key], 0, 32767)
    # The resource compiler adds WS_CAPTION for a title and DS_SETFONT for a
    # font: insist on them here so the tables say what the .rc produces.
    if dialog["title"] and "WS_CAPTION" not in names:
        fail(where, "a title needs WS_CAPTION")
    font = record.get("font")
    if ("DS_SETFONT" in names) != (font is not None):
        fail(where, "DS_SETFONT and a font go together")
    if font is None:
        font = {"face": "", "points": 0, "weight": 0, "italic": False, "charset": 1}
    else:
        fwhere = where + ".font"
        check_keys(fwhere, font, ("face", "points", "weight", "italic", "charset"))
        text(fwhere + ".face", font["face"], allow_empty=False)
        integer(fwhere + ".points", font["points"], 1, 0xFFFF)
        integer(fwhere + ".weight", font["weight"], 0, 1000)
        integer(fwhere + ".charset", font["charset"], 0, 255)
        if not isinstance(font["italic"], bool):
            fail(fwhere + ".italic", "expected true or false")
        if not dialog["extended"] and (font["weight"], font["italic"], font["charset"]) != (
                0, False, 1):
            fail(fwhere, "a plain DIALOG carries only points and face: "
                         "keep weight 0, italic false, charset 1 (DEFAULT_CHARSET)")
    dialog["font"] = font
    dialog["controls"] = [load_control(f"{where}.controls[{i}]", c, styles)
                          for i, c in enumerate(listed(where + ".controls", record["controls"]))]
    ids = [c["id"] for c in dialog["controls"] if c["id"] != NO_ID]
    duplicates = sorted({i for i in ids if ids.count(i) > 1})
    if duplicates:
        fail(where, f"control id {duplicates[0]} used twice")
    return dialog


def load_menu(where, record):
    check_keys(where, record, ("id", "popups"))
    menu = {"id": integer(where + ".id", record["id"], 1, 0xFFFF), "popups": []}
    for p, popup in enumerate(listed(where + ".popups", record["popups"])):
        pwhere = f"{where}.popups[{p}]"
        check_keys(pwhere, popup, ("title", "items"))
        items = []
        for i, item in enumerate(listed(pwhere + ".items", popup["items"])):
            iwhere = f"{pwhere}.items[{i}]"
            if isinstance(item, dict) and "separator" in item:
                check_keys(iwhere, item, ("separator",))
                if item["separator"] is not True:
                    fail(iwhere, "separator must be true")
                items.append({"id": 0, "text": ""})
            else:
                check_keys(iwhere, item, ("id", "text"))
                items.append({"id": integer(iwhere + ".id", item["id"], 1, 0xFFFF),
                              "text": text(iwhere + ".text", item["text"], allow_empty=False)})
        menu["popups"].append({"title": text(pwhere + ".title", popup["title"], False),
                               "items": items})
    return menu


def load_files(where, records, folder):
    files = []
    for i, record in enumerate(listed(where, records)):
        fwhere = f"{where}[{i}]"
        check_keys(fwhere, record, ("id", "file"))
        name = text(fwhere + ".file", record["file"], allow_empty=False)
        if os.path.basename(name) != name or not os.path.isfile(os.path.join(folder, name)):
            fail(fwhere, f"{name!r} is not a file beside the JSON")
        files.append({"id": integer(fwhere + ".id", record["id"], 1, 0xFFFF), "file": name})
    return files


def unique_ids(where, records):
    ids = [r["id"] for r in records]
    for i in ids:
        if ids.count(i) > 1:
            fail(where, f"id {i} used twice")


VERSION_PLACEHOLDER = "@PROJECT_VERSION@"


def load(path, styles, ids, version=None):
    """Reads and checks the JSON; with version, puts it in for the placeholder."""
    with open(path, encoding="utf-8") as stream:
        source = stream.read()
    if version is not None:
        if not all(part.isdigit() for part in version.split(".")):
            raise ResourceError(f"--version: expected numbers and dots, got {version!r}")
        source = source.replace(VERSION_PLACEHOLDER, version)
    try:
        root = json.loads(source)
    except json.JSONDecodeError as error:
        raise ResourceError(f"{path}: {error}") from None
    check_keys("resources", root, ("language", "dialogs", "menus", "strings", "icons", "bitmaps"))
    resolve_ids(root, ids)
    check_keys("language", root["language"], ("primary", "sub"))
    folder = os.path.dirname(os.path.abspath(path))
    resources = {
        "language": (integer("language.primary", root["language"]["primary"], 0, 0x3FF),
                     integer("language.sub", root["language"]["sub"], 0, 0x3F)),
        "dialogs": [load_dialog(f"dialogs[{i}]", d, styles)
                    for i, d in enumerate(listed("dialogs", root["dialogs"]))],
        "menus": [load_menu(f"menus[{i}]", m)
                  for i, m in enumerate(listed("menus", root["menus"]))],
        "strings": [],
        "icons": load_files("icons", root["icons"], folder),
        "bitmaps": load_files("bitmaps", root["bitmaps"], folder),
        # What the resource compiler ORs into every CONTROL statement's style.
        "controlDefault": styles["WS_CHILD"][0] | styles["WS_VISIBLE"][0],
    }
    for i, record in enumerate(listed("strings", root["strings"])):
        where = f"strings[{i}]"
        check_keys(where, record, ("id", "text"))
        resources["strings"].append({"id": integer(where + ".id", record["id"], 0, 0xFFFF),
                                     "text": text(where + ".text", record["text"], False)})
    for kind in ("dialogs", "menus", "strings", "icons", "bitmaps"):
        unique_ids(kind, resources[kind])
    return resources


# C++ tables


def cpp_string(value):
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


def names_comment(names):
    return " | ".join(names) if names else "0"


def write_cpp(resources, source_name):
    out = [f"// Generated by scripts/gen_resources.py from {source_name}. Edit that, not this.",
           '#include "ResourceTemplates.h"', "", "#include <array>", "",
           "namespace lumivar::ui {", "namespace {", ""]
    for dialog in resources["dialogs"]:
        controls = dialog["controls"]
        out.append(f"constexpr std::array<ControlTemplate, {len(controls)}> "
                   f"kDialog{dialog['id']}Controls{{{{")
        out.append("    // id, class, style, exStyle, text, imageId, x, y, width, height")
        for c in controls:
            out.append(f"    // {names_comment(c['styleNames'])}"
                       + (f"; {names_comment(c['exStyleNames'])}" if c["exStyle"] else ""))
            out.append(f"    {{{c['id']}, {cpp_string(c['class'])}, 0x{c['style']:08X}u, "
                       f"0x{c['exStyle']:08X}u, {cpp_string(c['text'])}, {c['image']}, "
                       f"{c['x']}, {c['y']}, {c['width']}, {c['height']}}},")
        out += ["}};", ""]
    out.append(f"constexpr std::array<DialogTemplate, {len(resources['dialogs'])}> kDialogs{{{{")
    for d in resources["dialogs"]:
        font = d["font"]
        out += [f"    // {names_comment(d['styleNames'])}; {names_comment(d['exStyleNames'])}",
                f"    {{.id = {d['id']},",
                f"     .extended = {'true' if d['extended'] else 'false'},",
                f"     .style = 0x{d['style']:08X}u,",
                f"     .exStyle = 0x{d['exStyle']:08X}u,",
                f"     .x = {d['x']},", f"     .y = {d['y']},",
                f"     .width = {d['width']},", f"     .height = {d['height']},",
                f"     .title = {cpp_string(d['title'])},",
                f"     .fontFace = {cpp_string(font['face'])},",
                f"     .fontPoints = {font['points']},",
                f"     .fontWeight = {font['weight']},",
                f"     .fontItalic = {'true' if font['italic'] else 'false'},",
                f"     .fontCharset = {font['charset']},",
                f"     .controls = kDialog{d['id']}Controls}},"]
    out += ["}};", ""]
    for menu in resources["menus"]:
        for p, popup in enumerate(menu["popups"]):
            items = popup["items"]
            out.append(f"constexpr std::array<MenuItemTemplate, {len(items)}> "
                       f"kMenu{menu['id']}Popup{p}{{{{")
            for item in items:
                out.append(f"    {{{item['id']}, {cpp_string(item['text'])}}},")
            out += ["}};", ""]
        out.append(f"constexpr std::array<PopupTemplate, {len(menu['popups'])}> "
                   f"kMenu{menu['id']}Popups{{{{")
        for p, popup in enumerate(menu["popups"]):
            out.append(f"    {{{cpp_string(popup['title'])}, kMenu{menu['id']}Popup{p}}},")
        out += ["}};", ""]
    out.append(f"constexpr std::array<MenuTemplate, {len(resources['menus'])}> kMenus{{{{")
    for menu in resources["menus"]:
        out.append(f"    {{{menu['id']}, kMenu{menu['id']}Popups}},")
    out += ["}};", "",
            "struct StringEntry {", "    int id;", "    std::string_view text;", "};", "",
            f"constexpr std::array<StringEntry, {len(resources['strings'])}> kStrings{{{{"]
    for entry in resources["strings"]:
        out.append(f"    {{{entry['id']}, {cpp_string(entry['text'])}}},")
    out += ["}};", "",
            "template <class Table>",
            "auto FindById(const Table& table, int id) -> decltype(&table[0]) {",
            "    for (const auto& entry : table) {",
            "        if (entry.id == id)",
            "            return &entry;",
            "    }",
            "    return nullptr;",
            "}", "",
            "} // namespace", "",
            "const DialogTemplate* FindDialogTemplate(int id) { return FindById(kDialogs, id); }",
            "",
            "const MenuTemplate* FindMenuTemplate(int id) { return FindById(kMenus, id); }", "",
            "std::string_view FindString(int id) {",
            "    const StringEntry* entry = FindById(kStrings, id);",
            "    return entry ? entry->text : std::string_view();",
            "}", "",
            "} // namespace lumivar::ui", ""]
    return "\n".join(out)


# Windows resource script


def rc_string(value):
    return '"' + value.replace("\\", "\\\\").replace('"', '""') + '"'


def write_rc(resources, source_name):
    primary, sub = resources["language"]
    language = f"LANGUAGE 0x{primary:02X}, 0x{sub:02X}"
    out = [f"// Generated by scripts/gen_resources.py from {source_name}. Edit that, not this.",
           "// UTF-8: compile with windres -c 65001, the pictures on the include path.",
           "// Every CONTROL style starts with NOT 0x50000000 to clear the WS_CHILD |",
           "// WS_VISIBLE that the resource compiler adds, so the number after it is the",
           "// whole style.",
           "", language, ""]
    for d in resources["dialogs"]:
        keyword = "DIALOGEX" if d["extended"] else "DIALOG"
        font = d["font"]
        out += [f"{d['id']} {keyword} {d['x']}, {d['y']}, {d['width']}, {d['height']}",
                f"STYLE 0x{d['style']:08X} // {names_comment(d['styleNames'])}"]
        if d["exStyle"]:
            out.append(f"EXSTYLE 0x{d['exStyle']:08X} // {names_comment(d['exStyleNames'])}")
        if d["title"]:
            out.append(f"CAPTION {rc_string(d['title'])}")
        out.append(language)
        if font["face"]:
            extra = (f", {font['weight']}, {1 if font['italic'] else 0}, {font['charset']}"
                     if d["extended"] else "")
            out.append(f"FONT {font['points']}, {rc_string(font['face'])}{extra}")
        out.append("BEGIN")
        for c in d["controls"]:
            label = str(c["image"]) if c["image"] else rc_string(c["text"])
            line = (f"    CONTROL {label}, {c['id']}, {rc_string(c['class'])}, "
                    f"NOT 0x{resources['controlDefault']:08X} | 0x{c['style']:08X}, "
                    f"{c['x']}, {c['y']}, {c['width']}, {c['height']}")
            if c["exStyle"]:
                line += f", 0x{c['exStyle']:08X}"
            out += [f"    // {names_comment(c['styleNames'])}"
                    + (f"; {names_comment(c['exStyleNames'])}" if c["exStyle"] else ""), line]
        out += ["END", ""]
    for menu in resources["menus"]:
        out += [f"{menu['id']} MENU", language, "BEGIN"]
        for popup in menu["popups"]:
            out += [f"    POPUP {rc_string(popup['title'])}", "    BEGIN"]
            for item in popup["items"]:
                if item["id"]:
                    out.append(f"        MENUITEM {rc_string(item['text'])}, {item['id']}")
                else:
                    out.append("        MENUITEM SEPARATOR")
            out.append("    END")
        out += ["END", ""]
    if resources["strings"]:
        out += ["STRINGTABLE", language, "BEGIN"]
        out += [f"    {s['id']}, {rc_string(s['text'])}" for s in resources["strings"]]
        out += ["END", ""]
    out += [f"{i['id']} ICON {rc_string(i['file'])}" for i in resources["icons"]]
    out += [f"{b['id']} BITMAP {rc_string(b['file'])}" for b in resources["bitmaps"]]
    out.append("")
    return "\n".join(out)


def write(path, content):
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="utf-8", newline="\n") as stream:
        stream.write(content)
    os.replace(temporary, path)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("json", help="res/resources.json")
    parser.add_argument("--styles", required=True, help="src/ui/WindowStyles.h")
    parser.add_argument("--ids", nargs="+", default=[], help="the headers the ids are named in")
    parser.add_argument("--cpp", help="the C++ tables to write")
    parser.add_argument("--rc", help="the resource script to write")
    parser.add_argument("--version", help=f"the project's version, for {VERSION_PLACEHOLDER}")
    args = parser.parse_args(argv)
    try:
        resources = load(args.json, read_styles(args.styles), read_ids(args.ids), args.version)
        if (args.cpp or args.rc) and args.version is None:
            with open(args.json, encoding="utf-8") as stream:
                if VERSION_PLACEHOLDER in stream.read():
                    raise ResourceError(f"{args.json} names {VERSION_PLACEHOLDER}: give --version")
    except (OSError, ResourceError) as error:
        print(f"gen_resources: error: {error}", file=sys.stderr)
        return 1
    source_name = "res/" + os.path.basename(args.json)
    if args.cpp:
        write(args.cpp, write_cpp(resources, source_name))
    if args.rc:
        write(args.rc, write_rc(resources, source_name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
