// SPDX-License-Identifier: MIT
#include "app/settings_location.h"

#include <string_view>
#include <system_error>

#include "app/settings_file.h"

namespace kestrow {
namespace {

// Relative values are ignored, as the base directory rules ask: they would
// move with the working folder.
std::optional<std::filesystem::path> AbsoluteFolder(const char* value) {
    if (value == nullptr || value[0] != '/') return std::nullopt;
    return std::filesystem::path(value);
}

void MakeSettingsFolder(const std::filesystem::path& settingsFile) {
    const std::filesystem::path folder = settingsFile.parent_path();
    if (folder.empty()) return;
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return;
    // Outermost first, so that each folder made here gets its owner-only mode.
    std::filesystem::path partial;
    for (const std::filesystem::path& part : folder) {
        partial /= part;
        if (std::filesystem::create_directory(partial, error)) {
            std::filesystem::permissions(partial, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace, error);
        } else if (error) {
            return;
        }
    }
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
