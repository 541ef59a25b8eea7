// SPDX-License-Identifier: MIT
#include "settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace kestrow {
namespace {

namespace fs = std::filesystem;

std::string Reason(int error) { return std::generic_category().message(error); }

// The permissions a newly created file would get, without changing the
// process's umask, which other threads may rely on at the same moment.
mode_t NewFileMode() {
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            mask = static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
            break;
        }
    }
    return 0666 & ~mask;
}

// The temporary file of a save; removed unless it has been renamed.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string pattern) : name_(std::move(pattern)) {
        std::vector<char> buffer(name_.begin(), name_.end());
        buffer.push_back('\0');
        fd_ = ::mkstemp(buffer.data());
        error_ = fd_ < 0 ? errno : 0;
        name_ = buffer.data();
    }
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (created() && !renamed_) {
            ::unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return fd_ >= 0 || closed_; }
    int creationError() const { return error_; }
    int fd() const { return fd_; }
    const std::string& name() const { return name_; }
    // Returns 0 or the error that closing reported.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        closed_ = true;
        return result == 0 || errno == EINTR ? 0 : errno;
    }
    void MarkRenamed() { renamed_ = true; }

  private:
    std::string name_;
    int fd_ = -1;
    int error_ = 0;
    bool closed_ = false;
    bool renamed_ = false;
};

// Follows `path` through every link to the file it finally names, which
// need not exist yet. Returns 0 or the error that stopped the search.
int FinalTarget(const fs::path& path, fs::path& target) {
    constexpr int kMostLinks = 40;  // as the system allows in a path
    target = path;
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0) {
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(info.st_mode)) return 0;
        std::error_code error;
        const fs::path next = fs::read_symlink(target, error);
        if (error) return error.value();
        // A relative link is relative to the folder that holds it.
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return ELOOP;
}

}  // namespace

std::string QuotedSettingsPath(const std::filesystem::path& path) {
    std::error_code error;
    const fs::path full = fs::absolute(path, error);
    return "\"" + (error ? path : full.lexically_normal()).string() + "\"";
}


std::istringstream OpenSettingsForReading(const std::filesystem::path& path) {
    // Through a descriptor of our own: an ifstream cannot tell a missing file
    // from a forbidden one, and would open a folder. What was looked at is
    // what is read, so nothing can be swapped in between. No blocking, in
    // case the name is a pipe.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) {
            throw SettingsOpenError(QuotedSettingsPath(path) + " was not found", true);
        }
        throw SettingsOpenError(QuotedSettingsPath(path) + " could not be read: " + Reason(error),
                                false);
    }
    const auto unreadable = [&path, fd](const std::string& why) {
        ::close(fd);
        return SettingsOpenError(QuotedSettingsPath(path) + " could not be read: " + why, false);
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw unreadable(Reason(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        throw unreadable("it is a folder");
    }
    if (!S_ISREG(info.st_mode)) {
        throw unreadable("it is not an ordinary file");
    }
    // Read whole, so that a disk error is told as such rather than taken for
    // the end of the file, and with a bound, so that a huge file cannot
    // exhaust memory.
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw unreadable(Reason(errno));
        }
        if (count == 0) break;
        if (bytes.size() + static_cast<std::size_t>(count) > kMaxSettingsFileBytes) {
            throw unreadable("it is larger than " + std::to_string(kMaxSettingsFileBytes) +
                             " bytes");
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(fd);
    return std::istringstream(std::move(bytes), std::ios::binary);
}

void SaveSettingsFile(const std::filesystem::path& path, std::string_view bytes) {
    const auto failure = [&path](const std::string& why) {
        return SettingsSaveError("The place could not be saved to " + QuotedSettingsPath(path) +
                                 ": " + why);
    };

    // A link (the user's settings kept with their other dotfiles) is followed:
    // the file it names is replaced, and the link stays.
    fs::path target;
    if (const int error = FinalTarget(path, target); error != 0) {
        throw failure(Reason(error));
    }

    mode_t mode = NewFileMode();
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            throw failure("it is a folder");
        }
        if (S_ISREG(existing.st_mode)) {
            mode = existing.st_mode & 07777;  // a save must not widen or narrow access
            // The rename needs only the folder's permission; a file its user
            // may not write must still not be replaced.
            const int probe = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
            if (probe < 0) {
                throw failure(Reason(errno));
            }
            ::close(probe);
        }
    }

    // The temporary file lies beside the target so that the rename stays
    // within one file system and so replaces the old file in one step.
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::string pattern = ".";
    pattern.append(target.filename().string()).append(".XXXXXX");
    TemporaryFile temporary((folder / pattern).string());
    if (!temporary.created()) {
        throw failure(Reason(temporary.creationError()));
    }
    (void)::fchmod(temporary.fd(), mode);  // at worst the file stays private to its owner

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count =
            ::write(temporary.fd(), bytes.data() + written, bytes.size() - written);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw failure(Reason(errno));
        }
        if (count == 0) {
            throw failure(Reason(ENOSPC));
        }
        written += static_cast<std::size_t>(count);
    }
    // Flushed before the rename: a crash must leave the old file or the
    // whole new one, never a renamed file whose bytes are not yet on disk.
    if (::fsync(temporary.fd()) != 0) {
        throw failure(Reason(errno));
    }
    if (const int error = temporary.Close(); error != 0) {
        throw failure(Reason(error));
    }
    if (::rename(temporary.name().c_str(), target.c_str()) != 0) {
        const int error = errno;
        throw failure(error == EISDIR ? "it is a folder" : Reason(error));
    }
    temporary.MarkRenamed();

    // Make the rename itself durable; the save has already succeeded, so a
    // folder that cannot be synced is not a failure.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        (void)::fsync(folderFd);
        ::close(folderFd);
    }
}

}  // namespace kestrow
