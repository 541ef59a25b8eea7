// SPDX-License-Identifier: MIT
// Where Kestrow.dat lives: the working folder by default, or with
// --user-settings the user's configuration folder, made on the first save.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kestrow {

// $XDG_CONFIG_HOME/kestrow/Kestrow.dat, or $HOME/.config/kestrow/Kestrow.dat
// when XDG_CONFIG_HOME is unset, empty or not absolute. Either value may be
// null. Nothing when neither names an absolute folder.
std::optional<std::filesystem::path> UserSettingsPath(const char* xdgConfigHome, const char* home);

// Saves `record` to `settingsFile` (SaveSettingsFile), first making the
// folders above it that are missing, each for its owner only and none
// through a link that another user planted in a shared folder: made
// at a save rather than at start, so that a start that saves nothing writes
// nothing. A folder that cannot be made is left to the save to report.
// Throws SettingsSaveError.
void SaveSettings(const std::filesystem::path& settingsFile, std::string_view record);

}  // namespace kestrow
