// SPDX-License-Identifier: MIT
// The settings file "Kestrow.dat" on disk: read whole through one checked
// descriptor, and replaced in one step, so that a failure never leaves half a
// record. Its bytes are those of settings_record.h.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "settings_record.h"

namespace kestrow {

inline constexpr std::string_view kSettingsFileName = "Kestrow.dat";
// A larger file is refused rather than read into memory.
inline constexpr std::size_t kMaxSettingsFileBytes = 1 << 20;

// The file could not be opened for reading. missing() tells a file that is
// simply not there (the first start) from one that exists but cannot be read.
class SettingsOpenError : public SettingsReadError {
  public:
    SettingsOpenError(const std::string& message, bool missing)
        : SettingsReadError(message), missing_(missing) {}
    bool missing() const { return missing_; }

  private:
    bool missing_;
};

// A save that failed; the file is left as it was.
class SettingsSaveError : public Error {
  public:
    using Error::Error;
};

// Reads the whole file through one descriptor, so that what was checked is
// what is read. Throws SettingsOpenError, also for a read that fails.
std::istringstream OpenSettingsForReading(const std::filesystem::path& path);

// The file as messages name it: its full path, in double quotes, so that the
// user knows which folder is meant.
std::string QuotedSettingsPath(const std::filesystem::path& path);

// Replaces the file at `path` with `bytes` atomically: a temporary file in the
// same folder is written, flushed to disk and renamed over it. A link is
// followed to the file it names, which is replaced within its own folder,
// unless another user put it, or a link to a folder on the way, in a folder
// shared by all (such as /tmp): such a link is neither read nor written
// through. A file that its user may not write is not replaced. The new file
// keeps the mode of the user's own old file, less set-id and sticky bits and
// less a write for group or others that the umask would not give; in place of
// another user's file it gets the umask's mode. Temporary files that killed
// saves left beside it are removed. On failure the old file is whole and
// SettingsSaveError says what could not be saved and why.
void SaveSettingsFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace kestrow
