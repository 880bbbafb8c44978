// UTF-16 files, as Notepad's "Unicode" save makes them, in either byte order.
// The Windows build runs these vectors against the system's own functions,
// which here means Wine's: no real Windows has checked them, big-endian ones
// least. Wine rewrites the whole file on a store, so each file is in its
// form: a mark, CRLF lines, no blanks around "=".
#include "ProfileFile.h"
#include "TempDir.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <string>

namespace lumivar {
namespace {

struct Utf16Case {
    const char* name;
    std::u16string before;
    const char* section;
    const char* key;
    const char* value;    // what the key reads after the store, if any
    std::u16string after; // empty: only read, the file stays as it was
};

void PrintTo(const Utf16Case& c, std::ostream* os) {
    *os << c.name;
}

class ProfileUtf16 : public ::testing::TestWithParam<Utf16Case> {};

TEST_P(ProfileUtf16, ReadsAndWritesAsWineDoes) {
    const Utf16Case& c = GetParam();
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        test::TempDir dir;
        const auto file = dir / "Setup.ini";
        test::WriteBytes(file, test::Utf16Bytes(c.before, bigEndian));
        EXPECT_TRUE(c.after.empty() || profile::WriteString(file, c.section, c.key, c.value));
        EXPECT_EQ(profile::GetString(file, c.section, c.key, "default", 64), c.value);
        EXPECT_EQ(test::ReadBytes(file),
                  test::Utf16Bytes(c.after.empty() ? c.before : c.after, bigEndian));
    }
}

const std::u16string kWork = u"\uFEFF[WORK]\r\nHour=22\r\nMinute=59\r\n";

const Utf16Case kCases[] = {
    {"ReadsKey", kWork, "WORK", "Minute", "59", {}},
    {"SecondMarkIsText", u"\uFEFF\uFEFF[WORK]\r\nHour=22\r\n", "WORK", "Hour", "default", {}},
    {"ReplacesValue", kWork, "WORK", "Hour", "7", u"\uFEFF[WORK]\r\nHour=7\r\nMinute=59\r\n"},
    {"AddsKeyToSection", kWork, "WORK", "Second", "5", kWork + u"Second=5\r\n"},
    {"AddsSection", kWork, "MODE", "Mode", "1006", kWork + u"[MODE]\r\nMode=1006\r\n"},
    {"AddsKeyAfterUnterminatedLine", u"\uFEFF[WORK]\r\nHour=22", "WORK", "Minute", "5",
     u"\uFEFF[WORK]\r\nHour=22\r\nMinute=5\r\n"},
    {"AddsSectionToMarkOnlyFile", u"\uFEFF", "MODE", "Mode", "1006",
     u"\uFEFF[MODE]\r\nMode=1006\r\n"},
    {"KeepsOtherText", u"\uFEFF; 关机时间\r\n[WORK]\r\nHour=22\r\n[说明]\r\n备注=每天 🕒\r\n",
     "WORK", "Minute", "5",
     u"\uFEFF; 关机时间\r\n[WORK]\r\nHour=22\r\nMinute=5\r\n[说明]\r\n备注=每天 🕒\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Notepad, ProfileUtf16, ::testing::ValuesIn(kCases), test::CaseName());

} // namespace
} // namespace lumivar
