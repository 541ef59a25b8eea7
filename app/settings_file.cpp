// SPDX-License-Identifier: MIT
#include "settings_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace kestrow {
namespace {

namespace fs = std::filesystem;

// Not an error of the system's: a link that the system itself would refuse to
// follow (see FindFile).
constexpr int kPlantedLink = -1;

std::string Reason(int error) {
    return error == kPlantedLink ? "it is a link that another user put in a shared folder"
                                 : std::generic_category().message(error);
}

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

// A folder held open, so that every step after its links were checked acts
// on that same folder whatever is renamed meanwhile, and a name in it.
class FileInFolder {
  public:
    FileInFolder() = default;
    ~FileInFolder() {
        if (folder_ >= 0) ::close(folder_);
    }
    FileInFolder(const FileInFolder&) = delete;
    FileInFolder& operator=(const FileInFolder&) = delete;

    int folder() const { return folder_; }
    const char* name() const { return name_.c_str(); }
    // Moves to `path`, taken from the folder held (the working folder at
    // first). Returns 0 or the error that stopped it.
    int MoveTo(const fs::path& path) {
        // A path that ends in a folder names that folder itself.
        const fs::path last = path.filename();
        const bool whole = last.empty() || last == "." || last == "..";
        const fs::path folder = whole ? path : path.parent_path();
        const int next =
            ::openat(folder_ >= 0 ? folder_ : AT_FDCWD, folder.empty() ? "." : folder.c_str(),
                     O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (next < 0) return errno;
        if (folder_ >= 0) ::close(folder_);
        folder_ = next;
        name_ = whole ? "." : last.string();
        return 0;
    }

  private:
    int folder_ = -1;
    std::string name_;
};

// Follows `path` through every link to the file it finally names, which need
// not exist yet, by the rule the system applies when it opens a file: in a
// folder that everybody may write to and whose files only their owners may
// remove (such as /tmp), a link is followed only when it is the user's own or
// the folder's owner's. Anyone could otherwise put there a link to a file of
// the user's, and the save would replace that file. Every link of a chain is
// held to the rule. Returns 0, kPlantedLink or the error that stopped it.
int FindFile(const fs::path& path, FileInFolder& place) {
    constexpr int kMostLinks = 40;  // as the system allows in a path
    fs::path next = path;
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        if (const int error = place.MoveTo(next); error != 0) return error;
        struct stat link {};
        if (::fstatat(place.folder(), place.name(), &link, AT_SYMLINK_NOFOLLOW) != 0) {
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(link.st_mode)) return 0;
        struct stat folder {};
        if (::fstat(place.folder(), &folder) != 0) return errno;
        constexpr mode_t kShared = S_ISVTX | S_IWOTH;
        if ((folder.st_mode & kShared) == kShared && link.st_uid != ::geteuid() &&
            link.st_uid != folder.st_uid) {
            return kPlantedLink;
        }
        char target[4096];
        const ssize_t length = ::readlinkat(place.folder(), place.name(), target, sizeof target);
        if (length < 0) return errno;
        if (static_cast<std::size_t>(length) == sizeof target) return ENAMETOOLONG;
        // A relative link is relative to the folder that holds it, which is
        // the folder held.
        next = std::string(target, static_cast<std::size_t>(length));
    }
    return ELOOP;
}

// The temporary file of a save, beside the file it replaces; removed unless
// it has been renamed.
class TemporaryFile {
  public:
    explicit TemporaryFile(const FileInFolder& place) : folder_(place.folder()) {
        // As mkstemp names its files, which cannot work within a folder held.
        constexpr char kLetters[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        for (int tries = 0; tries < 100; ++tries) {
            unsigned char random[6] = {};
            if (::getrandom(random, sizeof random, 0) != sizeof random) {
                error_ = errno;
                return;
            }
            name_ = std::string(".") + place.name() + ".";
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
    FileInFolder place;
    int error = FindFile(path, place);
    const int fd = error != 0 ? -1
                              : ::openat(place.folder(), place.name(),
                                         O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0) {
        if (error == 0) error = errno;
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
    FileInFolder place;
    if (const int error = FindFile(path, place); error != 0) {
        throw failure(Reason(error));
    }

    mode_t mode = NewFileMode();
    struct stat existing {};
    if (::fstatat(place.folder(), place.name(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            throw failure("it is a folder");
        }
        if (S_ISREG(existing.st_mode)) {
            mode = existing.st_mode & 07777;  // a save must not widen or narrow access
            // The rename needs only the folder's permission; a file its user
            // may not write must still not be replaced.
            const int probe = ::openat(place.folder(), place.name(),
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
    if (::renameat(place.folder(), temporary.name().c_str(), place.folder(), place.name()) != 0) {
        const int error = errno;
        throw failure(error == EISDIR ? "it is a folder" : Reason(error));
    }
    temporary.MarkRenamed();

    // Make the rename itself durable; the save has already succeeded, so a
    // folder that cannot be synced is not a failure.
    const int folderFd = ::openat(place.folder(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        (void)::fsync(folderFd);
        ::close(folderFd);
    }
}

}  // namespace kestrow
