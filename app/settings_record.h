// SPDX-License-Identifier: MIT
// The record that "Kestrow.dat" holds: the place and the window's position.
//
// One line of comma-separated fields ending in CR LF: the latitude and
// longitude texts in double quotes, then (in a full record) the window's top
// and left in twips. Text fields are held in UTF-8 in the program and stored
// as ISO-8859-1 in the file; a character outside it is stored as "?".
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

#include "almanac/errors.h"
#include "coordinate.h"

namespace kestrow {

// A longer field fails the read rather than growing without bound.
inline constexpr std::size_t kMaxFieldBytes = 256;

// The four values a record fills, in file order.
struct SettingsFields {
    Coordinate latitude;    // field 1
    Coordinate longitude;   // field 2
    std::int32_t top = 0;   // field 3, twips
    std::int32_t left = 0;  // field 4, twips
};

// A read that failed: end of file inside a record, a field too long, a
// position that is not a number or does not fit 32 bits.
class SettingsReadError : public Error {
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
    // True when the last ReadRecord failed inside field 1 or 2: whatever
    // the record holds of a place is only part of it.
    bool PlaceCutShort() const { return failedField_ == 1 || failedField_ == 2; }

  private:
    std::istream& in_;
    int fieldsStored_ = 0;
    int failedField_ = 0;
};

// A coordinate text as the file can keep it: a decimal mark that the file's
// code page cannot hold is stored as a point, which every reader takes, so
// that no place is saved in a form that cannot be read back. A mark that fits
// is kept as typed.
std::string StorableCoordinate(std::string_view text, std::string_view decimalSeparator);

// The bytes of a short record (two texts) and of a full record.
std::string ShortRecord(std::string_view latitude, std::string_view longitude);
std::string FullRecord(std::string_view latitude, std::string_view longitude, float top,
                       float left);

}  // namespace kestrow
