// SPDX-License-Identifier: MIT
// Following the settings file's path one component at a time, so that every
// folder on the way, not only the file, is held to the rule for links: in a
// folder that everybody may write to and whose files only their owners may
// remove (such as /tmp), a link is followed only when it is the user's own or
// the folder's owner's. Anyone could otherwise plant there a link to a folder
// of the user's, and a save would write, or make folders, inside it.
#pragma once

#include <filesystem>
#include <string>

namespace kestrow {

// Failures of our own, beside the system's error numbers.
inline constexpr int kPlantedLink = -1;  // a link that another user put in a shared folder
inline constexpr int kNotAFolder = -2;   // a component before the last is not a folder

// A folder held open, so that every step after its links were checked acts
// on that same folder whatever is renamed meanwhile, and a name in it.
class HeldPlace {
  public:
    HeldPlace() = default;
    ~HeldPlace();
    HeldPlace(const HeldPlace&) = delete;
    HeldPlace& operator=(const HeldPlace&) = delete;

    int Folder() const { return folder_; }
    const char* Name() const { return name_.c_str(); }
    // The component at fault as a path, for messages; empty when the fault
    // is the last component itself.
    const std::string& Culprit() const { return culprit_; }

  private:
    friend int FollowSettingsPath(const std::filesystem::path&, HeldPlace&, bool);
    int Start(bool atRoot);
    void Enter(int folder, const std::string& name);

    int folder_ = -1;
    std::string name_;
    std::filesystem::path where_;  // the folder held, as walked
    std::string culprit_;
};

// Walks `path` through every link to the file it finally names, which need
// not exist yet, and leaves `place` on that file's folder and name. With
// `makeFolders`, missing folders on the way are made, each for its owner
// only. Returns 0, kPlantedLink, kNotAFolder or the system's error number.
int FollowSettingsPath(const std::filesystem::path& path, HeldPlace& place, bool makeFolders);

// Why FollowSettingsPath failed, to end a message: the system's reason, or
// what is wrong with the component at fault ("it" when that is the last).
std::string PathFailure(int error, const HeldPlace& place);

}  // namespace kestrow
