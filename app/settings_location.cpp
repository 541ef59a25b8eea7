// SPDX-License-Identifier: MIT
#include "app/settings_location.h"

#include <string_view>

#include "app/settings_file.h"
#include "app/settings_path.h"

namespace kestrow {
namespace {

// Relative values are ignored, as the base directory rules ask: they would
// move with the working folder.
std::optional<std::filesystem::path> AbsoluteFolder(const char* value) {
    if (value == nullptr || value[0] != '/') return std::nullopt;
    return std::filesystem::path(value);
}

void MakeSettingsFolder(const std::filesystem::path& settingsFile) {
    // Folder by folder, with the links on the way held to the same rule as
    // the file's own, so that no folder is made through a planted link.
    HeldPlace place;
    (void)FollowSettingsPath(settingsFile, place, true);
}

}  // namespace

std::optional<std::filesystem::path> UserSettingsPath(const char* xdgConfigHome, const char* home) {
    std::optional<std::filesystem::path> config = AbsoluteFolder(xdgConfigHome);
    if (!config) {
        const std::optional<std::filesystem::path> homeFolder = AbsoluteFolder(home);
        if (!homeFolder) return std::nullopt;
        config = *homeFolder / ".config";
    }
    return *config / "kestrow" / kSettingsFileName;
}

void SaveSettings(const std::filesystem::path& settingsFile, std::string_view record) {
    MakeSettingsFolder(settingsFile);
    SaveSettingsFile(settingsFile, record);
}

}  // namespace kestrow
