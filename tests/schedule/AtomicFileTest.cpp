// Stores go through a temporary file and a rename, so an interrupted store
// never leaves a damaged Setup.ini; what cannot be written is left alone.
#include "AtomicFile.h"
#include "ProfileFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumivar {
namespace {

namespace fs = std::filesystem;

const std::string kOld = "[WORK]\r\nHour=22\r\n";

int CountEntries(const fs::path& dir) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir))
        ++count;
    return count;
}

// Root ignores permission bits, so as root the check runs in a child process
// that has given up root for the "nobody" account, on files that account owns.
bool RunUnprivileged(const fs::path& dir, const std::function<bool()>& check) {
    if (::geteuid() != 0)
        return check();
    constexpr uid_t kNobody = 65534;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        (void)::chown(entry.path().c_str(), kNobody, kNobody);
    (void)::chown(dir.c_str(), kNobody, kNobody);
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(AtomicStore, FailureBeforeRenameLeavesOldFileAndNoTemporary) {
    test::TempDir dir;
    test::WriteBytes(dir / "Setup.ini", kOld);
    bool sawTemporary = false;
    const bool stored = profile::ReplaceFileAtomically(dir / "Setup.ini", "new", [&] {
        sawTemporary = CountEntries(dir.path()) == 2; // the new bytes are on disk, not yet in place
        return false;
    });
    EXPECT_FALSE(stored);
    EXPECT_TRUE(sawTemporary);
    EXPECT_EQ(test::ReadBytes(dir / "Setup.ini"), kOld);
    EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(AtomicStore, KeepsPermissionsOfOldFile) {
    test::TempDir dir;
    test::WriteBytes(dir / "Setup.ini", kOld);
    fs::permissions(dir / "Setup.ini", fs::perms::owner_read | fs::perms::owner_write |
                                           fs::perms::group_read);
    ASSERT_TRUE(profile::WriteString(dir / "Setup.ini", "WORK", "Hour", "7"));
    EXPECT_EQ(fs::status(dir / "Setup.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicStore, NewFileFollowsUmask) {
    test::TempDir dir;
    const mode_t old = ::umask(027);
    const bool stored = profile::WriteString(dir / "Setup.ini", "MODE", "Mode", "1000");
    ::umask(old);
    ASSERT_TRUE(stored);
    EXPECT_EQ(fs::status(dir / "Setup.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicStore, WritesThroughSymbolicLinkAndKeepsIt) {
    test::TempDir dir;
    fs::create_directory(dir / "real");
    test::WriteBytes(dir / "real" / "Setup.ini", kOld);
    fs::create_symlink("real/Setup.ini", dir / "Setup.ini");
    ASSERT_TRUE(profile::WriteString(dir / "Setup.ini", "WORK", "Hour", "7"));
    EXPECT_TRUE(fs::is_symlink(dir / "Setup.ini"));
    EXPECT_EQ(test::ReadBytes(dir / "real" / "Setup.ini"), "[WORK]\r\nHour=7\r\n");
}

TEST(AtomicStore, ReadOnlyDirectoryFailsAndKeepsFile) {
    test::TempDir dir;
    test::WriteBytes(dir / "Setup.ini", kOld);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(RunUnprivileged(dir.path(), [&] {
        return !profile::WriteString(dir / "Setup.ini", "WORK", "Hour", "7") &&
               profile::GetString(dir / "Setup.ini", "WORK", "Hour", "", 4) == "22";
    }));
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(test::ReadBytes(dir / "Setup.ini"), kOld);
    EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(AtomicStore, ReadOnlyFileIsNotReplaced) {
    test::TempDir dir;
    test::WriteBytes(dir / "Setup.ini", kOld);
    fs::permissions(dir / "Setup.ini", fs::perms::owner_read);
    EXPECT_TRUE(RunUnprivileged(dir.path(), [&] {
        return !profile::WriteString(dir / "Setup.ini", "WORK", "Hour", "7");
    }));
    EXPECT_EQ(test::ReadBytes(dir / "Setup.ini"), kOld);
}

TEST(AtomicStore, UnreadableFileIsNeverOverwritten) {
    test::TempDir dir;
    test::WriteBytes(dir / "Setup.ini", kOld);
    fs::permissions(dir / "Setup.ini", fs::perms::owner_write);
    EXPECT_TRUE(RunUnprivileged(dir.path(), [&] {
        return profile::GetString(dir / "Setup.ini", "WORK", "Hour", "23", 4) == "23" &&
               !profile::WriteString(dir / "Setup.ini", "WORK", "Minute", "7");
    }));
    EXPECT_EQ(test::ReadBytes(dir / "Setup.ini"), kOld);
}

TEST(AtomicStore, DirectoryNamedSetupIniIsNeitherReadNorReplaced) {
    test::TempDir dir;
    fs::create_directory(dir / "Setup.ini");
    EXPECT_EQ(profile::GetString(dir / "Setup.ini", "WORK", "Hour", "22", 4), "22");
    EXPECT_FALSE(profile::WriteString(dir / "Setup.ini", "WORK", "Hour", "7"));
    EXPECT_TRUE(fs::is_directory(dir / "Setup.ini"));
    EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(AtomicStore, UnchangedValueDoesNotRewriteFile) {
    test::TempDir dir;
    test::WriteBytes(dir / "Setup.ini", kOld);
    const auto inode = [&] {
        struct stat info {};
        ::stat((dir / "Setup.ini").c_str(), &info);
        return info.st_ino;
    };
    const auto before = inode();
    ASSERT_TRUE(profile::WriteString(dir / "Setup.ini", "WORK", "Hour", "22"));
    EXPECT_EQ(inode(), before);
}

} // namespace
} // namespace lumivar
