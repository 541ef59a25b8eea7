// SPDX-License-Identifier: MIT
#include "app/settings_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace kestrow {
namespace {

namespace fs = std::filesystem;

constexpr int kMostLinks = 40;  // as the system allows in a path

// Pushes the components of `path` so that the first is taken next.
void PushComponents(const fs::path& path, std::vector<std::string>& pending) {
    std::vector<std::string> parts;
    for (const fs::path& part : path.relative_path()) parts.push_back(part.string());
    // A path that ends in "/" names a folder, as one ending in "." does.
    if (parts.empty() && !path.empty()) parts.emplace_back(".");
    pending.insert(pending.end(), parts.rbegin(), parts.rend());
}

// A link in a folder like /tmp that neither the user nor the folder's owner made.
bool Planted(int folder, const struct stat& link) {
    struct stat holder {};
    constexpr mode_t kShared = S_ISVTX | S_IWOTH;
    return ::fstat(folder, &holder) == 0 && (holder.st_mode & kShared) == kShared &&
           link.st_uid != ::geteuid() && link.st_uid != holder.st_uid;
}

}  // namespace

HeldPlace::~HeldPlace() {
    if (folder_ >= 0) ::close(folder_);
}

int HeldPlace::Start(bool atRoot) {
    const int next = ::open(atRoot ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (next < 0) return errno;
    if (folder_ >= 0) ::close(folder_);
    folder_ = next;
    std::error_code error;
    where_ = atRoot ? fs::path("/") : fs::current_path(error);
    if (error) where_ = ".";
    return 0;
}

void HeldPlace::Enter(int folder, const std::string& name) {
    ::close(folder_);
    folder_ = folder;
    where_ = (where_ / name).lexically_normal();
}

int FollowSettingsPath(const fs::path& path, HeldPlace& place, bool makeFolders) {
    place.culprit_.clear();
    if (const int error = place.Start(path.is_absolute()); error != 0) return error;
    std::vector<std::string> pending;
    PushComponents(path, pending);
    if (pending.empty()) pending.emplace_back(".");
    int links = 0;
    while (!pending.empty()) {
        const std::string name = pending.back();
        pending.pop_back();
        const bool last = pending.empty();
        if (name == "." && !last) continue;
        // What is there is looked at through the descriptor that holds it, so
        // that nothing can be swapped in between the look and the use.
        int fd = ::openat(place.folder_, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT && !last && makeFolders) {
            if (::mkdirat(place.folder_, name.c_str(), 0700) != 0 && errno != EEXIST) return errno;
            fd = ::openat(place.folder_, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        }
        if (fd < 0) {
            if (errno != ENOENT || !last) return errno;
            place.name_ = name;  // a file not made yet
            return 0;
        }
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        if (S_ISLNK(info.st_mode)) {
            const bool planted = Planted(place.folder_, info);
            if (planted || ++links > kMostLinks) {
                ::close(fd);
                if (!planted) return ELOOP;
                if (!last) place.culprit_ = (place.where_ / name).lexically_normal().string();
                return kPlantedLink;
            }
            char target[4096];
            const ssize_t length = ::readlinkat(fd, "", target, sizeof target);
            const int error = errno;
            ::close(fd);
            if (length < 0) return error;
            if (static_cast<std::size_t>(length) == sizeof target) return ENAMETOOLONG;
            // A relative link is relative to the folder that holds it, which
            // is the folder held.
            const fs::path next(std::string(target, static_cast<std::size_t>(length)));
            if (next.is_absolute()) {
                if (const int failed = place.Start(true); failed != 0) return failed;
            }
            PushComponents(next, pending);
            continue;
        }
        if (last) {
            ::close(fd);
            place.name_ = name;
            return 0;
        }
        if (!S_ISDIR(info.st_mode)) {
            ::close(fd);
            place.culprit_ = (place.where_ / name).lexically_normal().string();
            return kNotAFolder;
        }
        place.Enter(fd, name);
    }
    return 0;  // not reached: the last component returns above
}

std::string PathFailure(int error, const HeldPlace& place) {
    const std::string culprit = place.Culprit().empty() ? "it" : "\"" + place.Culprit() + "\"";
    if (error == kPlantedLink)
        return culprit + " is a link that another user put in a shared folder";
    if (error == kNotAFolder) return culprit + " is not a folder";
    return std::generic_category().message(error);
}

}  // namespace kestrow
