// POSIX side of the settings file: whole-file reads and crash-safe replaces.
#include "AtomicFile.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <system_error>
#include <utility>

namespace lumivar::profile {
namespace {

namespace fs = std::filesystem;

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int Get() const { return m_fd; }
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Writes all of `bytes` at `offset`, retrying short writes.
bool WriteAllAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

bool Fail(Failure& failure, FailureKind kind, std::string reason) {
    failure = {kind, std::move(reason)};
    return false;
}

// The system will not let the user write here (a folder, a file, a read-only
// mount), as opposed to a write that failed (a full disk, an I/O error).
bool WriteRefused(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// A refusal is worth telling apart: it is the user's to fix.
bool Fail(Failure& failure, int error) {
    return Fail(failure, WriteRefused(error) ? FailureKind::NotWritable : FailureKind::WriteFailed,
                SystemReason(error));
}

// What a directory or device named Setup.ini is, for the user.
std::string NotARegularFile(const struct stat& info) {
    return S_ISDIR(info.st_mode) ? SystemReason(EISDIR) : "not a regular file";
}

std::string TooLargeReason() {
    return "larger than " + std::to_string(kLargestSettingsFile >> 20) +
           " MiB, too large for a settings file";
}

// The file a store must replace: a symbolic link is followed so that the link
// itself survives and its target gets the new content.
fs::path ResolveLinks(fs::path file) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(file, ec)))
            break;
        const fs::path target = fs::read_symlink(file, ec);
        if (ec)
            break;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// A store's temporary file is ".<name>." and mkstemp's six characters.
constexpr std::string_view kTempTemplate = "XXXXXX";

std::string TempPrefix(const fs::path& target) {
    // Appended piece by piece: GCC 12 at -O3 takes "." + name + "." for an
    // overlapping copy and warns (-Wrestrict).
    std::string prefix = ".";
    prefix += target.filename().string();
    prefix += '.';
    return prefix;
}

bool IsOurTemporary(std::string_view entry, std::string_view prefix) {
    if (entry.size() != prefix.size() + kTempTemplate.size() || !entry.starts_with(prefix))
        return false;
    for (const char c : entry.substr(prefix.size()))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// Where the system has no file locks, only age tells a forgotten temporary
// from one being written: no store takes anywhere near this long.
constexpr time_t kStaleAfterSeconds = 60;

// A temporary is stale when no store holds its lock (its writer died: a
// kill, a crash or a power cut); a live store locks its temporary from
// creation until after the rename.
bool IsStale(int fd, const struct stat& info) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    if (errno == EWOULDBLOCK || errno == EINTR)
        return false;
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - info.st_mtim.tv_sec > kStaleAfterSeconds;
}

// Removes the temporaries that stores killed before their rename left behind,
// so that they do not pile up beside Setup.ini. Best effort.
void RemoveStaleTemporaries(const fs::path& directory, const fs::path& target) {
    const std::string prefix = TempPrefix(target);
    FileDescriptor dirFd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.Get() < 0)
        return;
    const int listFd = ::dup(dirFd.Get());
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsOurTemporary(entry->d_name, prefix))
            continue;
        FileDescriptor fd(
            ::openat(dirFd.Get(), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (!IsStale(fd.Get(), info))
            continue;
        // Only the file we examined: the name may have been renamed away meanwhile.
        struct stat now {};
        if (::fstatat(dirFd.Get(), entry->d_name, &now, AT_SYMLINK_NOFOLLOW) == 0 &&
            now.st_dev == info.st_dev && now.st_ino == info.st_ino)
            ::unlinkat(dirFd.Get(), entry->d_name, 0);
    }
    ::closedir(dir);
}

// Creates and locks this store's temporary. The lock marks it live for
// RemoveStaleTemporaries; a temporary removed between creation and locking
// is made again.
int CreateLockedTemporary(std::string& name, const std::string& pattern) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        name = pattern;
        const int fd = ::mkstemp(name.data());
        if (fd < 0)
            return -1;
        int locked = 0;
        do {
            locked = ::flock(fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0)
            return fd; // no locks on this file system: age protects it
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    return -1;
}

void SyncDirectory(const fs::path& directory) {
    FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get()); // best effort: the rename itself has already happened
}

// Rewrites the file through its own descriptor. The part past the old end is
// written and flushed first, so a full disk shows before any old byte is
// touched; then the old bytes are overwritten from the first that changes;
// only then is a shorter file cut. A failure puts the old bytes back, so the
// file never ends up shorter or without its other lines. A crash midway can
// still leave a mix, as it can on Windows.
bool RewriteInPlace(const fs::path& target, std::string_view old, std::string_view content,
                    Failure& failure) {
    FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0)
        return Fail(failure, errno);
    if (!S_ISREG(info.st_mode))
        return Fail(failure, FailureKind::WriteFailed, NotARegularFile(info));
    // Restoring on failure needs the bytes now on disk to be the ones read.
    if (static_cast<std::uintmax_t>(info.st_size) != old.size())
        return Fail(failure, FailureKind::WriteFailed,
                    "changed by another program during the store");
    const auto oldSize = static_cast<off_t>(old.size());

    if (content.size() > old.size() &&
        (!WriteAllAt(fd.Get(), content.substr(old.size()), oldSize) || ::fsync(fd.Get()) != 0)) {
        const int error = errno;
        (void)::ftruncate(fd.Get(), oldSize);
        return Fail(failure, error);
    }
    const std::size_t common = std::min(old.size(), content.size());
    const auto first = static_cast<std::size_t>(
        std::mismatch(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(common),
                      content.begin())
            .first -
        old.begin());
    if (!WriteAllAt(fd.Get(), content.substr(first, common - first), static_cast<off_t>(first)) ||
        ::fsync(fd.Get()) != 0) {
        const int error = errno;
        (void)WriteAllAt(fd.Get(), old.substr(first), static_cast<off_t>(first));
        (void)::ftruncate(fd.Get(), oldSize);
        (void)::fsync(fd.Get());
        return Fail(failure, error);
    }
    if (content.size() < old.size() &&
        (::ftruncate(fd.Get(), static_cast<off_t>(content.size())) != 0 || ::fsync(fd.Get()) != 0))
        return Fail(failure, errno);
    return true;
}

} // namespace

FileBytes ReadWholeFile(const fs::path& file) {
    FileBytes result;
    const auto failed = [&](FileBytes::Status status, std::string why) {
        result.status = status;
        result.bytes.clear();
        result.why = std::move(why);
        return std::move(result);
    };
    // Non-blocking, so that a FIFO named Setup.ini cannot hang the program.
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return result;
        return failed(FileBytes::Status::Unreadable, SystemReason(errno));
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        return failed(FileBytes::Status::Unreadable, SystemReason(errno));
    if (!S_ISREG(info.st_mode))
        return failed(FileBytes::Status::Unreadable, NotARegularFile(info));
    if (static_cast<std::uintmax_t>(info.st_size) > kLargestSettingsFile)
        return failed(FileBytes::Status::TooLarge, TooLargeReason());
    result.bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        // One byte past the limit is enough to tell a file that grew meanwhile.
        const std::size_t room = kLargestSettingsFile + 1 - result.bytes.size();
        const ssize_t got = ::read(fd.Get(), buffer, std::min(sizeof buffer, room));
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return failed(FileBytes::Status::Unreadable, SystemReason(errno));
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
        if (result.bytes.size() > kLargestSettingsFile)
            return failed(FileBytes::Status::TooLarge, TooLargeReason());
    }
    result.status = FileBytes::Status::Read;
    return result;
}

bool ReplaceFile(const fs::path& file, std::string_view old, std::string_view content,
                 Failure& failure, const std::function<bool()>& beforeRename) {
    const fs::path target = ResolveLinks(file);
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");

    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode))
        return Fail(failure, FailureKind::WriteFailed, NotARegularFile(info));
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return Fail(failure, errno); // a read-only file stays so, as on Windows
    const mode_t mode = exists ? (info.st_mode & 07777) : (0666 & ~CurrentUmask());

    RemoveStaleTemporaries(directory, target);

    std::string tempName;
    const std::string pattern =
        (directory / (TempPrefix(target) + std::string(kTempTemplate))).string();
    FileDescriptor temp(CreateLockedTemporary(tempName, pattern));
    if (temp.Get() < 0) {
        // A writable file in a folder the user may not write to: Windows'
        // profile functions update it in place, and so do we. A full disk
        // is no reason to: the rewrite would need the same room.
        if (exists && WriteRefused(errno))
            return RewriteInPlace(target, old, content, failure);
        return Fail(failure, errno);
    }
    const auto discard = [&](int error) {
        ::unlink(tempName.c_str());
        return Fail(failure, error);
    };
    if (!WriteAllAt(temp.Get(), content, 0) || ::fchmod(temp.Get(), mode) != 0)
        return discard(errno);
    if (exists && (info.st_uid != ::geteuid() || info.st_gid != ::getegid()))
        (void)::fchown(temp.Get(), info.st_uid, info.st_gid); // only root can; others keep theirs
    if (::fsync(temp.Get()) != 0)
        return discard(errno);
    if (beforeRename && !beforeRename()) {
        ::unlink(tempName.c_str());
        return Fail(failure, FailureKind::WriteFailed, "stopped before the rename");
    }
    // Renamed while still open and locked, so that no other store takes it
    // for a dead one's leftover.
    if (::rename(tempName.c_str(), target.c_str()) != 0)
        return discard(errno);
    (void)temp.Close(); // the content is already synced and in place
    SyncDirectory(directory);
    return true;
}

} // namespace lumivar::profile
