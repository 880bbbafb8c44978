// Reading keys from INI files the way Windows' GetPrivateProfileString does.
// Each vector runs through the real file functions, so the Windows build
// checks the same vectors against the system's own implementation.
#include "ProfileFile.h"
#include "TempDir.h"
#include "Wine.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <string>

namespace lumivar {
namespace {

struct ReadCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    const char* defaultText;
    std::size_t capacity;
    const char* expected;
    // Set where Wine's profile functions depart from Windows': why.
    const char* wineDeparture = nullptr;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, GivesWhatWindowsWould) {
    const ReadCase& c = GetParam();
    if (c.wineDeparture && test::RunningUnderWine())
        GTEST_SKIP() << "Wine departs from Windows here: " << c.wineDeparture;
    test::TempDir dir;
    test::WriteBytes(dir / "Setup.ini", c.content);
    EXPECT_EQ(profile::GetString(dir / "Setup.ini", c.section, c.key, c.defaultText, c.capacity),
              c.expected);
}

const ReadCase kDefaultsAndCapacity[] = {
    {"MissingKeyGivesDefault", "[WORK]\r\nHour=6\r\n", "WORK", "Minute", "59", 4, "59"},
    {"MissingSectionGivesDefault", "[WORK]\r\nHour=6\r\n", "REST", "Hour", "23", 4, "23"},
    {"EmptyFileGivesDefault", "", "WORK", "Hour", "22", 4, "22"},
    {"EmptyValueIsNotTheDefault", "[WORK]\r\nHour=\r\n", "WORK", "Hour", "22", 4, ""},
    {"LongValueIsCut", "[WORK]\r\nHour=1234\r\n", "WORK", "Hour", "22", 4, "123"},
    {"LongDefaultIsCut", "", "MODE", "Mode", "123456789", 8, "1234567"},
    {"CapacityOneGivesNothing", "[WORK]\r\nHour=7\r\n", "WORK", "Hour", "22", 1, ""},
    {"CapacityZeroGivesNothing", "[WORK]\r\nHour=7\r\n", "WORK", "Hour", "22", 0, ""},
    {"DefaultLosesTrailingSpaces", "", "WORK", "Hour", " 22  ", 16, " 22"},
    {"DefaultKeepsTrailingTab", "", "WORK", "Hour", "22\t", 16, "22\t"},
};
INSTANTIATE_TEST_SUITE_P(DefaultsAndCapacity, ProfileRead,
                         ::testing::ValuesIn(kDefaultsAndCapacity), test::CaseName());

const ReadCase kNamesAndBlanks[] = {
    {"SectionIgnoresCase", "[work]\r\nHour=6\r\n", "WORK", "Hour", "22", 4, "6"},
    {"KeyIgnoresCase", "[WORK]\r\nHOUR=6\r\n", "WORK", "hour", "22", 4, "6"},
    {"BlanksAroundEverything", " \t[ WORK\t]\r\n \tHour \t= \t6 \t\r\n", "WORK", "Hour", "", 4,
     "6"},
    {"InnerBlanksOfValueKept", "[WORK]\r\nHour = 1 2 \r\n", "WORK", "Hour", "", 8, "1 2"},
    {"TextAfterBracketIgnored", "[WORK] trailing ] text\r\nHour=6\r\n", "WORK", "Hour", "", 4, "6",
     "it ends the section name at the last ']' of the line"},
    {"SectionEndsAtFirstBracket", "[WO]RK]\r\nHour=6\r\n", "WORK", "Hour", "22", 4, "22"},
    {"RequestedNamesAreTrimmed", "[WORK]\r\nHour=6\r\n", " WORK ", " Hour ", "22", 4, "6"},
    {"FirstEqualsSplitsKey", "[WORK]\r\nHour==6\r\n", "WORK", "Hour", "", 4, "=6"},
    {"UnclosedBracketLineIsAKey", "[WORK]\r\n[Hour=6\r\n", "WORK", "[Hour", "", 4, "6"},
};
INSTANTIATE_TEST_SUITE_P(NamesAndBlanks, ProfileRead, ::testing::ValuesIn(kNamesAndBlanks),
                         test::CaseName());

const ReadCase kQuotesAndComments[] = {
    {"DoubleQuotesStripped", "[WORK]\r\nHour=\"6\"\r\n", "WORK", "Hour", "", 4, "6"},
    {"SingleQuotesStripped", "[WORK]\r\nHour='6'\r\n", "WORK", "Hour", "", 4, "6"},
    {"OnlyOneOuterPairStripped", "[WORK]\r\nHour=\"\"6\"\"\r\n", "WORK", "Hour", "", 8, "\"6\""},
    {"MismatchedQuotesKept", "[WORK]\r\nHour=\"6'\r\n", "WORK", "Hour", "", 8, "\"6'"},
    {"LoneQuoteKept", "[WORK]\r\nHour=\"\r\n", "WORK", "Hour", "", 8, "\""},
    {"CommentLineIsNoKey", "[WORK]\r\n;Hour=5\r\nHour=6\r\n", "WORK", "Hour", "", 4, "6"},
    {"IndentedCommentIsNoKey", "[WORK]\r\n  ;Hour=5\r\n", "WORK", "Hour", "22", 4, "22"},
    {"SemicolonInValueIsText", "[WORK]\r\nHour=6;7\r\n", "WORK", "Hour", "", 8, "6;7"},
    {"CommentedSectionIsNoSection", ";[WORK]\r\nHour=6\r\n", "WORK", "Hour", "22", 4, "22"},
    {"LineWithoutEqualsIsNoKey", "[WORK]\r\nHour\r\nHour=6\r\n", "WORK", "Hour", "", 4, "6",
     "it keeps a bare name as a key without value, hiding a later Hour=6"},
    {"BareNameGivesDefault", "[WORK]\r\nHour\r\n", "WORK", "Hour", "22", 4, "22"},
};
INSTANTIATE_TEST_SUITE_P(QuotesAndComments, ProfileRead, ::testing::ValuesIn(kQuotesAndComments),
                         test::CaseName());

const ReadCase kStructure[] = {
    {"KeyBeforeAnySectionIgnored", "Hour=5\r\n[WORK]\r\nMinute=1\r\n", "WORK", "Hour", "22", 4,
     "22"},
    {"KeyOfOtherSectionIgnored", "[REST]\r\nHour=5\r\n[WORK]\r\n", "WORK", "Hour", "22", 4, "22"},
    {"FirstDuplicateKeyWins", "[WORK]\r\nHour=5\r\nHour=6\r\n", "WORK", "Hour", "", 4, "5"},
    {"OnlyFirstDuplicateSectionSearched", "[WORK]\r\nMinute=1\r\n[WORK]\r\nHour=6\r\n", "WORK",
     "Hour", "22", 4, "22"},
    {"LaterSectionFound", "[REST]\r\nHour=5\r\n[USER]\r\nHour=6\r\n", "USER", "Hour", "", 4, "6"},
};
INSTANTIATE_TEST_SUITE_P(Structure, ProfileRead, ::testing::ValuesIn(kStructure), test::CaseName());

const ReadCase kLineEndings[] = {
    {"LfOnly", "[WORK]\nHour=6\nMinute=7\n", "WORK", "Minute", "", 4, "7"},
    {"LoneCr", "[WORK]\rHour=6\rMinute=7\r", "WORK", "Minute", "", 4, "7"},
    {"Mixed", "[REST]\r\nHour=1\n[WORK]\rHour=6\r\n", "WORK", "Hour", "", 4, "6"},
    {"LastLineUnterminated", "[WORK]\r\nHour=6", "WORK", "Hour", "", 4, "6"},
    {"BlankLinesBetween", "\r\n\r\n[WORK]\r\n\r\n\r\nHour=6\r\n\r\n", "WORK", "Hour", "", 4, "6"},
};
INSTANTIATE_TEST_SUITE_P(LineEndings, ProfileRead, ::testing::ValuesIn(kLineEndings),
                         test::CaseName());

// Windows' own functions are said to take the mark for part of the first
// line and lose that section (Wine's keep it, and this runs on both builds);
// we keep it.
TEST(ProfileReadImproved, ByteOrderMarkBeforeFirstSectionIsSkipped) {
    test::TempDir dir;
    test::WriteBytes(dir / "Setup.ini", "\xEF\xBB\xBF[WORK]\r\nHour=6\r\n");
    EXPECT_EQ(profile::GetString(dir / "Setup.ini", "WORK", "Hour", "22", 4), "6");
}

TEST(ProfileReadFile, MissingFileGivesDefault) {
    test::TempDir dir;
    EXPECT_EQ(profile::GetString(dir / "Setup.ini", "WORK", "Hour", "22", 4), "22");
    EXPECT_FALSE(std::filesystem::exists(dir / "Setup.ini"));
}

} // namespace
} // namespace lumivar
