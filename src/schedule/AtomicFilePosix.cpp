// POSIX side of the settings file: whole-file reads and crash-safe replaces.
#include "AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <system_error>

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
    int get() const { return m_fd; }
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
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

void SyncDirectory(const fs::path& directory) {
    FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get()); // best effort: the rename itself has already happened
}

} // namespace

FileBytes ReadWholeFile(const fs::path& file) {
    FileBytes result;
    // Non-blocking, so that a FIFO named Setup.ini cannot hang the program.
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        result.status = errno == ENOENT || errno == ENOTDIR ? FileBytes::Status::Missing
                                                            : FileBytes::Status::Unreadable;
        return result;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.status = FileBytes::Status::Unreadable;
        return result;
    }
    result.bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.status = FileBytes::Status::Unreadable;
            result.bytes.clear();
            return result;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    result.status = FileBytes::Status::Read;
    return result;
}

bool ReplaceFileAtomically(const fs::path& file, std::string_view content,
                           const std::function<bool()>& beforeRename) {
    const fs::path target = ResolveLinks(file);
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || ::access(target.c_str(), W_OK) != 0))
        return false; // a read-only file stays read-only, as it would on Windows
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());

    std::string tempName = (directory / ("." + target.filename().string() + ".XXXXXX")).string();
    FileDescriptor temp(::mkstemp(tempName.data()));
    if (temp.get() < 0)
        return false;

    bool ok = WriteAll(temp.get(), content) && ::fchmod(temp.get(), mode) == 0;
    if (ok && exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        (void)::fchown(temp.get(), old.st_uid, old.st_gid); // only root can; others keep theirs
    ok = ok && ::fsync(temp.get()) == 0;
    ok = temp.Close() && ok;
    ok = ok && (!beforeRename || beforeRename());
    ok = ok && ::rename(tempName.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tempName.c_str());
        return false;
    }
    SyncDirectory(directory);
    return true;
}

} // namespace lumivar::profile
