// Loading Setup.ini with its defaults and storing each setting.
#include "SettingsStore.h"
#include "Slots.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sstream>

namespace lumivar {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    std::filesystem::path File() const { return m_dir / "Setup.ini"; }
    SettingsStore Store() {
        return SettingsStore([this] { return File(); }, m_errors);
    }
    void Write(std::string_view content) { test::WriteBytes(File(), content); }
    std::string Content() const { return test::ReadBytes(File()); }

    test::TempDir m_dir;
    std::ostringstream m_errors;
};

TEST_F(SettingsStoreTest, MissingFileGivesDefaultsAndStaysMissing) {
    const ScheduleSettings settings = Store().Load();
    EXPECT_EQ(settings.work, (TargetTime{22, 59, 0}));
    EXPECT_EQ(settings.rest, (TargetTime{23, 59, 0}));
    EXPECT_EQ(settings.user, (TargetTime{0, 0, 0}));
    EXPECT_EQ(settings.noticeShow, 1);
    EXPECT_EQ(settings.mode, 1000);
    EXPECT_EQ(settings, ScheduleSettings{});
    EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(SettingsStoreTest, PartialFileFillsTheRestWithDefaults) {
    Write("[WORK]\r\nHour=6\r\n");
    ScheduleSettings expected;
    expected.work.hour = 6;
    EXPECT_EQ(Store().Load(), expected);
}

TEST_F(SettingsStoreTest, NumbersConvertLikeAtoi) {
    Write("[WORK]\r\nHour=07\r\nMinute=1234\r\nSecond=x7\r\n"
          "[REST]\r\nHour=7x\r\nMinute=-5\r\nSecond=\r\n"
          "[USER]\r\nHour=+3\r\n"
          "[NOTICE]\r\nShow=2\r\n[MODE]\r\nMode=0\r\n");
    const ScheduleSettings settings = Store().Load();
    EXPECT_EQ(settings.work, (TargetTime{7, 123, 0}));
    EXPECT_EQ(settings.rest, (TargetTime{7, -5, 0}));
    EXPECT_EQ(settings.user.hour, 3);
    EXPECT_EQ(settings.noticeShow, 2);
    EXPECT_EQ(settings.mode, 0);
}

TEST_F(SettingsStoreTest, ModeReadsUpToSevenCharacters) {
    Write("[MODE]\r\nMode=123456789\r\n");
    EXPECT_EQ(Store().Load().mode, 1234567);
}

// Notepad's "Unicode" save: one reading gives every key.
TEST_F(SettingsStoreTest, Utf16FileLoads) {
    Write(test::Utf16Bytes(u"\uFEFF[WORK]\r\nHour=6\r\n[MODE]\r\nMode=1001\r\n", true));
    ScheduleSettings expected;
    expected.work.hour = 6;
    expected.mode = 1001;
    EXPECT_EQ(Store().Load(), expected);
}

TEST_F(SettingsStoreTest, SlotStoreWritesPlainDecimalsAndTouchesNothingElse) {
    Write("; settings\r\n[REST]\r\nHour=1\r\n[WORK]\r\nHour=07\r\n[MODE]\r\nMode=1001\r\n");
    ASSERT_TRUE(Store().StoreSlotTime("WORK", {7, 5, 0}));
    EXPECT_EQ(Content(), "; settings\r\n[REST]\r\nHour=1\r\n[WORK]\r\nHour=7\r\nMinute=5\r\n"
                         "Second=0\r\n[MODE]\r\nMode=1001\r\n");
    EXPECT_EQ(Store().Load().work, (TargetTime{7, 5, 0}));
}

TEST_F(SettingsStoreTest, EachSlotRoundTripsThroughItsSection) {
    for (const Slot& slot : kSlots)
        ASSERT_TRUE(Store().StoreSlotTime(slot.section, {slot.mode % 24, 1, 2}));
    const ScheduleSettings settings = Store().Load();
    for (const Slot& slot : kSlots)
        EXPECT_EQ(settings.*slot.field, (TargetTime{slot.mode % 24, 1, 2})) << slot.section;
}

TEST_F(SettingsStoreTest, ModeAndNoticeKeepTheLastStoredValue) {
    ASSERT_TRUE(Store().StoreNotice(1));
    ASSERT_TRUE(Store().StoreNotice(0));
    ASSERT_TRUE(Store().StoreMode(1006));
    EXPECT_EQ(Content(), "[NOTICE]\r\nShow=0\r\n[MODE]\r\nMode=1006\r\n");
    EXPECT_EQ(Store().Load().noticeShow, 0);
    EXPECT_EQ(Store().Load().mode, 1006);
}

// The system's own words for why, after the file's name; a failed store says
// so to its caller, who tells the user.
TEST_F(SettingsStoreTest, FailedStoreAndUnreadableLoadSayWhy) {
    std::filesystem::create_directory(File()); // cannot be replaced by a file, nor read
#ifdef _WIN32
    const std::string why = ": Access denied."; // Wine's words; Windows says "Access is denied."
    const FailureKind kind = FailureKind::NotWritable;
#else
    const std::string why = ": Is a directory";
    const FailureKind kind = FailureKind::Unreadable; // so never rewritten
#endif
    const StoreResult stored = Store().StoreMode(1001);
    ASSERT_FALSE(stored);
    EXPECT_EQ(stored.failure->kind, kind);
    EXPECT_EQ(stored.failure->detail, File().string() + why);
    EXPECT_EQ(m_errors.str(), "");
    EXPECT_EQ(Store().Load(), ScheduleSettings{});
    EXPECT_EQ(m_errors.str(),
              "lumivar: could not read " + File().string() + why + "; using the defaults\n");
}

TEST_F(SettingsStoreTest, MissingFileLoadsQuietly) {
    Store().Load();
    EXPECT_EQ(m_errors.str(), "");
}

TEST_F(SettingsStoreTest, PathIsWorkedOutForEveryAccess) {
    test::TempDir other;
    std::filesystem::path current = File();
    SettingsStore store([&] { return current; }, m_errors);
    ASSERT_TRUE(store.StoreMode(1001));
    current = other / "Setup.ini";
    ASSERT_TRUE(store.StoreMode(1006));
    EXPECT_EQ(Content(), "[MODE]\r\nMode=1001\r\n");
    EXPECT_EQ(test::ReadBytes(current), "[MODE]\r\nMode=1006\r\n");
}

// Damaged files, and files as large as any that is read, load with what they
// hold. The time bound is generous: it is there to catch a hang or a
// quadratic blow-up, nothing finer.
TEST_F(SettingsStoreTest, GarbageAndLargeFilesLoadPromptly) {
    constexpr std::size_t kLargest = 1 << 20; // larger files are not read
    std::mt19937 random(7);
    std::string noise(kLargest / 2, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    const std::string last = "[WORK]\r\nHour=5\r\n";
    const std::string block = "[X]\r\nkey=value\r\n;\r\n\r\n";
    std::string manyLines;
    while (manyLines.size() + block.size() + last.size() <= kLargest)
        manyLines += block;
    manyLines.resize(kLargest - last.size(), '\n'); // to the byte
    const struct {
        const char* name;
        std::string content;
        TargetTime work;
    } cases[] = {
        {"binary noise", noise + "\r\n[WORK]\r\nHour=5\r\n", {5, 59, 0}},
        {"1 MiB of lines", manyLines + last, {5, 59, 0}},
        {"long line", "[WORK]\r\nMinute=1\r\nHour=" + std::string(kLargest / 2, '7'), {777, 1, 0}},
        {"no line break", std::string(kLargest, '['), {22, 59, 0}},
    };
    for (const auto& c : cases) {
        Write(c.content);
        const auto start = std::chrono::steady_clock::now();
        const ScheduleSettings settings = Store().Load();
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(settings.work, c.work) << c.name;
        EXPECT_LT(took, std::chrono::seconds(5)) << c.name;
        EXPECT_EQ(m_errors.str(), "") << c.name;
    }
}

TEST(SettingsPath, IsSetupIniInTheWorkingDirectory) {
    EXPECT_EQ(SettingsPathInWorkingDirectory(), std::filesystem::current_path() / "Setup.ini");
}

TEST(ParseLeadingInt, BehavesLikeAtoiWithoutOverflow) {
    EXPECT_EQ(ParseLeadingInt("00"), 0);
    EXPECT_EQ(ParseLeadingInt("07"), 7);
    EXPECT_EQ(ParseLeadingInt(" \t\v7x"), 7);
    EXPECT_EQ(ParseLeadingInt("x7"), 0);
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("-"), 0);
    EXPECT_EQ(ParseLeadingInt("- 5"), 0);
    EXPECT_EQ(ParseLeadingInt("-12"), -12);
    EXPECT_EQ(ParseLeadingInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseLeadingInt("-99999999999999999999"), -2147483647 - 1);
}

} // namespace
} // namespace lumivar
