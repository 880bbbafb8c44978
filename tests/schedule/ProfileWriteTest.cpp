// Writing one key: only the bytes of that key change, new lines end in CRLF,
// and a store that cannot complete leaves the old file as it was.
#include "ProfileFile.h"
#include "TempDir.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <string>

namespace lumivar {
namespace {

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyThatKey) {
    const WriteCase& c = GetParam();
    test::TempDir dir;
    test::WriteBytes(dir / "Setup.ini", c.before);
    ASSERT_TRUE(profile::WriteString(dir / "Setup.ini", c.section, c.key, c.value));
    EXPECT_EQ(test::ReadBytes(dir / "Setup.ini"), c.after);
    EXPECT_EQ(profile::GetString(dir / "Setup.ini", c.section, c.key, "default", 64), c.value);
}

const WriteCase kInPlace[] = {
    {"ReplacesValue", "[WORK]\r\nHour=22\r\nMinute=59\r\n", "WORK", "Hour", "7",
     "[WORK]\r\nHour=7\r\nMinute=59\r\n"},
    {"KeepsSpellingUpToEquals", "[work]\r\n  hOUR \t= 22  \r\n", "WORK", "Hour", "7",
     "[work]\r\n  hOUR \t=7\r\n"},
    {"KeepsLineEnding", "[WORK]\nHour=22\rMinute=59", "WORK", "Hour", "7",
     "[WORK]\nHour=7\rMinute=59"},
    {"ReplacesFirstOfDuplicates", "[WORK]\r\nHour=1\r\nHour=2\r\n", "WORK", "Hour", "7",
     "[WORK]\r\nHour=7\r\nHour=2\r\n"},
    {"KeepsUnterminatedLastLine", "[WORK]\r\nHour=22", "WORK", "Hour", "7", "[WORK]\r\nHour=7"},
    {"KeepsByteOrderMark", "\xEF\xBB\xBF[WORK]\r\nHour=1\r\n", "WORK", "Hour", "7",
     "\xEF\xBB\xBF[WORK]\r\nHour=7\r\n"},
};
INSTANTIATE_TEST_SUITE_P(InPlace, ProfileWrite, ::testing::ValuesIn(kInPlace), test::CaseName());

const WriteCase kNewKey[] = {
    {"AfterLastKeyOfSection", "[WORK]\r\nHour=1\r\n\r\n; note\r\n[REST]\r\nHour=2\r\n", "WORK",
     "Minute", "5", "[WORK]\r\nHour=1\r\nMinute=5\r\n\r\n; note\r\n[REST]\r\nHour=2\r\n"},
    {"RightAfterHeaderOfEmptySection", "[WORK]\n\n[REST]\n", "WORK", "Hour", "5",
     "[WORK]\nHour=5\r\n\n[REST]\n"},
    {"AfterUnterminatedLastLine", "[WORK]\r\nHour=1", "WORK", "Minute", "5",
     "[WORK]\r\nHour=1\r\nMinute=5\r\n"},
    {"AfterUnterminatedHeader", "[WORK]", "WORK", "Hour", "5", "[WORK]\r\nHour=5\r\n"},
    {"IntoFirstOfDuplicateSections", "[WORK]\r\nHour=1\r\n[WORK]\r\nMinute=2\r\n", "WORK", "Minute",
     "5", "[WORK]\r\nHour=1\r\nMinute=5\r\n[WORK]\r\nMinute=2\r\n"},
    {"CommentedKeyIsNotReplaced", "[WORK]\r\n;Hour=1\r\n", "WORK", "Hour", "5",
     "[WORK]\r\nHour=5\r\n;Hour=1\r\n"},
};
INSTANTIATE_TEST_SUITE_P(NewKey, ProfileWrite, ::testing::ValuesIn(kNewKey), test::CaseName());

const WriteCase kNewSection[] = {
    {"AppendedWithoutBlankLine", "[WORK]\r\nHour=1\r\n", "MODE", "Mode", "1006",
     "[WORK]\r\nHour=1\r\n[MODE]\r\nMode=1006\r\n"},
    {"LineBreakAddedFirst", "[WORK]\r\nHour=1", "MODE", "Mode", "1006",
     "[WORK]\r\nHour=1\r\n[MODE]\r\nMode=1006\r\n"},
    {"AfterLfFile", "[WORK]\nHour=1\n", "MODE", "Mode", "0",
     "[WORK]\nHour=1\n[MODE]\r\nMode=0\r\n"},
    {"IntoEmptyFile", "", "NOTICE", "Show", "1", "[NOTICE]\r\nShow=1\r\n"},
    {"KeysBeforeAnySectionStay", "Hour=9\r\n", "WORK", "Hour", "5",
     "Hour=9\r\n[WORK]\r\nHour=5\r\n"},
};
INSTANTIATE_TEST_SUITE_P(NewSection, ProfileWrite, ::testing::ValuesIn(kNewSection),
                         test::CaseName());

// What Wine would rewrite (it re-serialises the whole file) stays as it was:
// any unit we do not store, even one that is not UTF-16, and an odd last byte.
const WriteCase kUtf16[] = {
    {"Utf16KeepsLoneSurrogateAndOddByte",
     test::Utf16Bytes(u"\uFEFF; \xD800 x\r\n[WORK]\r\nHour=22\r\n") + "A", "WORK", "Hour", "7",
     test::Utf16Bytes(u"\uFEFF; \xD800 x\r\n[WORK]\r\nHour=7\r\n") + "A"},
    {"Utf16NewSectionBeforeOddByte", test::Utf16Bytes(u"\uFEFF[WORK]\r\nHour=1", true) + '\0',
     "USER", "Note", "关机 🕒",
     test::Utf16Bytes(u"\uFEFF[WORK]\r\nHour=1\r\n[USER]\r\nNote=关机 🕒\r\n", true) + '\0'},
};
INSTANTIATE_TEST_SUITE_P(Utf16, ProfileWrite, ::testing::ValuesIn(kUtf16), test::CaseName());

TEST(ProfileWriteFile, CreatesNewFile) {
    test::TempDir dir;
    ASSERT_TRUE(profile::WriteString(dir / "Setup.ini", "MODE", "Mode", "1006"));
    EXPECT_EQ(test::ReadBytes(dir / "Setup.ini"), "[MODE]\r\nMode=1006\r\n");
}

TEST(ProfileWriteFile, RefusesEntriesThatWouldNotReadBack) {
    test::TempDir dir;
    const std::string before = "[WORK]\r\nHour=1\r\n";
    test::WriteBytes(dir / "Setup.ini", before);
    EXPECT_FALSE(profile::WriteString(dir / "Setup.ini", "WORK", "Hour", "1\r\n[MODE]"));
    EXPECT_FALSE(profile::WriteString(dir / "Setup.ini", "WO]RK", "Hour", "1"));
    EXPECT_FALSE(profile::WriteString(dir / "Setup.ini", "WORK", "Ho=ur", "1"));
    EXPECT_FALSE(profile::WriteString(dir / "Setup.ini", "WORK", "", "1"));
    EXPECT_FALSE(profile::WriteString(dir / "Setup.ini", "", "Hour", "1"));
    EXPECT_FALSE(profile::WriteString(dir / "Setup.ini", "WORK", ";Hour", "1"));
    EXPECT_EQ(test::ReadBytes(dir / "Setup.ini"), before);
    // Text that is not UTF-8 has no UTF-16 form.
    const std::string utf16 = test::Utf16Bytes(u"\uFEFF[WORK]\r\nHour=1\r\n");
    test::WriteBytes(dir / "Setup.ini", utf16);
    EXPECT_FALSE(profile::WriteString(dir / "Setup.ini", "WORK", "Hour", "\xFF"));
    EXPECT_FALSE(profile::WriteString(dir / "Setup.ini", "WORK", "Hour", "\xED\xA0\x80"));
    EXPECT_EQ(test::ReadBytes(dir / "Setup.ini"), utf16);
}

} // namespace
} // namespace lumivar
