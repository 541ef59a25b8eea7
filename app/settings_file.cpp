// SPDX-License-Identifier: MIT
#include "settings_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "app/settings_path.h"

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

// Temporary names end in random letters, as mkstemp makes them, which cannot
// work within a folder held.
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLetters = 6;

// The temporary file of a save, beside the file it replaces; removed unless
// it has been renamed.
class TemporaryFile {
  public:
    explicit TemporaryFile(const HeldPlace& place) : folder_(place.Folder()) {
        for (int tries = 0; tries < 100; ++tries) {
            unsigned char random[kRandomLetters] = {};
            if (::getrandom(random, sizeof random, 0) != sizeof random) {
                error_ = errno;
                return;
            }
            name_ = std::string(".") + place.Name() + ".";
            for (const unsigned char r : random) name_.push_back(kLetters[r % 62]);
            fd_ = ::openat(folder_, name_.c_str(),
                           O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600);
            error_ = fd_ < 0 ? errno : 0;
            if (error_ != EEXIST) return;
        }
    }
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (created() && !renamed_) {
            ::unlinkat(folder_, name_.c_str(), 0);
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
    int folder_;
    std::string name_;
    int fd_ = -1;
    int error_ = 0;
    bool closed_ = false;
    bool renamed_ = false;
};

// Temporary files of saves that were killed before their rename: named as
// TemporaryFile names them, the user's own, and older than any save takes.
void RemoveStaleTemporaries(const HeldPlace& place) {
    const std::string_view name = place.Name();
    if (name == "." || name == "..") return;
    const int fd = ::openat(place.Folder(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    DIR* folder = ::fdopendir(fd);
    if (folder == nullptr) {
        ::close(fd);
        return;
    }
    // Appended, which GCC 12 at -O3 does not mistake for an overlapping copy.
    std::string prefix(1, '.');
    prefix.append(name).append(1, '.');
    const std::time_t stale = std::time(nullptr) - 60;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view found = entry->d_name;
        if (found.size() != prefix.size() + kRandomLetters || !found.starts_with(prefix) ||
            found.find_first_not_of(kLetters, prefix.size()) != std::string_view::npos) {
            continue;
        }
        struct stat info {};
        if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && info.st_mtime < stale) {
            ::unlinkat(fd, entry->d_name, 0);
        }
    }
    ::closedir(folder);
}

}  // namespace

std::string QuotedSettingsPath(const std::filesystem::path& path) {
    std::error_code error;
    const fs::path full = fs::absolute(path, error);
    // Built by appending: GCC 12 takes "\"" + string for an overlapping copy
    // at -O3 and warns.
    std::string quoted(1, '"');
    quoted += (error ? path : full.lexically_normal()).string();
    quoted += '"';
    return quoted;
}

std::istringstream OpenSettingsForReading(const std::filesystem::path& path) {
    // Through a descriptor of our own: an ifstream cannot tell a missing file
    // from a forbidden one, and would open a folder. What was looked at is
    // what is read, so nothing can be swapped in between. No blocking, in
    // case the name is a pipe; never a terminal to control.
    HeldPlace place;
    int error = FollowSettingsPath(path, place, false);
    const int fd = error != 0 ? -1
                              : ::openat(place.Folder(), place.Name(),
                                         O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0) {
        if (error == 0) error = errno;
        // A folder on the way that is a file holds no settings to keep: the
        // first save says what is wrong with it.
        if (error == ENOENT || error == kNotAFolder) {
            throw SettingsOpenError(QuotedSettingsPath(path) + " was not found", true);
        }
        throw SettingsOpenError(
            QuotedSettingsPath(path) + " could not be read: " + PathFailure(error, place), false);
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
    HeldPlace place;
    if (const int error = FollowSettingsPath(path, place, false); error != 0) {
        throw failure(PathFailure(error, place));
    }
    RemoveStaleTemporaries(place);

    const mode_t newMode = NewFileMode();
    mode_t mode = newMode;
    struct stat existing {};
    if (::fstatat(place.Folder(), place.Name(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            throw failure("it is a folder");
        }
        if (S_ISREG(existing.st_mode)) {
            // A save must not widen or narrow the user's own access. Another
            // user's file (planted in a shared folder) is no model, and no
            // mode hands out set-id bits or a write for all that the umask
            // would not give.
            if (existing.st_uid == ::geteuid()) {
                mode = existing.st_mode & 0777 & ~(mode_t{022} & ~newMode);
            }
            // The rename needs only the folder's permission; a file its user
            // may not write must still not be replaced.
            const int probe = ::openat(place.Folder(), place.Name(),
                                       O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW);
            if (probe < 0) {
                throw failure(Reason(errno));
            }
            ::close(probe);
        }
    }

    // The temporary file lies beside the target so that the rename stays
    // within one file system and so replaces the old file in one step.
    TemporaryFile temporary(place);
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
    if (::renameat(place.Folder(), temporary.name().c_str(), place.Folder(), place.Name()) != 0) {
        const int error = errno;
        throw failure(error == EISDIR ? "it is a folder" : Reason(error));
    }
    temporary.MarkRenamed();

    // Make the rename itself durable; the save has already succeeded, so a
    // folder that cannot be synced is not a failure.
    const int folderFd = ::openat(place.Folder(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        (void)::fsync(folderFd);
        ::close(folderFd);
    }
}

}  // namespace kestrow
