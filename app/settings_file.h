// SPDX-License-Identifier: MIT
// The settings file "Kestrow.dat": the place and the window's position.
//
// One line of comma-separated fields ending in CR LF: the latitude and
// longitude texts in double quotes, then (in a full record) the window's top
// and left in twips. Text fields are held in UTF-8 in the program and stored
// as ISO-8859-1 in the file; a character outside it is stored as "?".
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <sstream>
#include <string>
#include <string_view>

#include "almanac/coordinate.h"
#include "almanac/errors.h"

namespace kestrow {

inline constexpr std::string_view kSettingsFileName = "Kestrow.dat";
// A longer field fails the read rather than growing without bound.
inline constexpr std::size_t kMaxFieldBytes = 256;
// A larger file is refused rather than read into memory.
inline constexpr std::size_t kMaxSettingsFileBytes = 1 << 20;

// The four values a record fills, in file order.
struct SettingsFields {
    Coordinate latitude;        // field 1
    Coordinate longitude;       // field 2
    std::int32_t top = 0;       // field 3, twips
    std::int32_t left = 0;      // field 4, twips
};

// A read that failed: end of file inside a record, a field too long, a
// position that is not a number or does not fit 32 bits.
class SettingsReadError : public Error {
public:
    using Error::Error;
};

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

// Reads records field by field, storing each field the moment it is read,
// so a record that runs out keeps the fields before the failure.
class SettingsReader {
public:
    explicit SettingsReader(std::istream& in);
    // True when nothing but blanks and line ends is left.
    bool AtEnd();
    // Reads the next four fields into `fields`. Throws SettingsReadError.
    void ReadRecord(SettingsFields& fields);
    // Fields stored so far by this reader, over all records.
    int FieldsStored() const { return fieldsStored_; }

private:
    std::istream& in_;
    int fieldsStored_ = 0;
};

// Reads the whole file through one descriptor, so that what was checked is
// what is read. Throws SettingsOpenError, also for a read that fails.
std::istringstream OpenSettingsForReading(const std::filesystem::path& path);

// The file as messages name it: its full path, in double quotes, so that the
// user knows which folder is meant.
std::string QuotedSettingsPath(const std::filesystem::path& path);

// A coordinate text as the file can keep it: a decimal mark that the file's
// code page cannot hold is stored as a point, which every reader takes, so
// that no place is saved in a form that cannot be read back. A mark that fits
// is kept as typed.
std::string StorableCoordinate(std::string_view text, std::string_view decimalSeparator);

// The bytes of a short record (two texts) and of a full record.
std::string ShortRecord(std::string_view latitude, std::string_view longitude);
std::string FullRecord(std::string_view latitude, std::string_view longitude, float top,
                       float left);

// Replaces the file at `path` with `bytes` atomically: a temporary file in the
// same folder is written, flushed to disk and renamed over it. A link is
// followed to the file it names, which is replaced within its own folder. A
// file that its user may not write is not replaced. On failure the old file
// is whole and SettingsSaveError says what could not be saved and why.
void SaveSettingsFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace kestrow
