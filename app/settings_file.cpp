// SPDX-License-Identifier: MIT
#include "settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace kestrow {
namespace {

namespace fs = std::filesystem;

constexpr int kEnd = std::char_traits<char>::eof();

bool IsBlank(int c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(int c) { return c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Every byte stands for the Latin-1 character of the same number, so any byte
// sequence turns into valid UTF-8.
std::string Latin1ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            text.push_back(c);
        } else {
            text.push_back(static_cast<char>(0xC0 | (b >> 6)));
            text.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return text;
}

// A character Latin-1 cannot hold becomes "?", as does each byte that is not
// part of a well-formed UTF-8 sequence, so nothing unreadable reaches the file.
std::string Utf8ToLatin1(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            bytes.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t code = 0;
        char32_t smallest = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
            smallest = 0x10000;
        }
        bool wellFormed = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            wellFormed = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        wellFormed = wellFormed && code >= smallest && code <= 0x10FFFF &&
                     !(code >= 0xD800 && code <= 0xDFFF);
        if (!wellFormed) {
            bytes.push_back('?');
            ++i;
            continue;
        }
        bytes.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
        i += length;
    }
    return bytes;
}

std::string Reason(int error) { return std::generic_category().message(error); }

const char* FieldName(int field) {
    static constexpr const char* kNames[] = {"the latitude", "the longitude", "the window top",
                                             "the window left"};
    return kNames[field - 1];
}

// Every read goes through here so that a failing disk is not taken for the
// end of the file.
int Take(std::istream& in, bool consume) {
    const int c = consume ? in.get() : in.peek();
    if (c == kEnd && in.bad()) {
        throw SettingsReadError("The settings file could not be read to its end");
    }
    return c;
}
int Peek(std::istream& in) { return Take(in, false); }
int Get(std::istream& in) { return Take(in, true); }

void SkipBlanksAndLineEnds(std::istream& in) {
    for (int c = Peek(in); IsBlank(c) || IsLineEnd(c); c = Peek(in)) {
        Get(in);
    }
}

void TooLong(int field) {
    throw SettingsReadError(std::string("The settings file holds a value for ") + FieldName(field) +
                            " longer than " + std::to_string(kMaxFieldBytes) + " characters");
}

// Returns the bytes of one field and consumes its terminator. Blank lines
// before a field are passed over like spaces, which also lets CR LF, a lone
// CR and a lone LF end a line alike: the LF after a CR is simply the next
// thing skipped.
std::string ReadField(std::istream& in, int field) {
    SkipBlanksAndLineEnds(in);
    int c = Get(in);
    if (c == kEnd) {
        throw SettingsReadError(std::string("The settings file ends before ") + FieldName(field));
    }
    std::string value;
    if (c == '"') {
        // A quoted text that the file never closes is more likely cut short
        // than meant, so it is refused rather than stored in part.
        for (c = Get(in); c != '"'; c = Get(in)) {
            if (c == kEnd) {
                throw SettingsReadError(std::string("The settings file ends inside ") +
                                        FieldName(field));
            }
            if (value.size() == kMaxFieldBytes) {
                TooLong(field);
            }
            value.push_back(static_cast<char>(c));
        }
        // Whatever follows the closing quote on its line, up to a comma, is
        // not part of the field.
        for (c = Get(in); c != kEnd && c != ',' && !IsLineEnd(c); c = Get(in)) {
        }
    } else {
        for (; c != kEnd && c != ',' && !IsLineEnd(c); c = Get(in)) {
            if (value.size() == kMaxFieldBytes) {
                TooLong(field);
            }
            value.push_back(static_cast<char>(c));
        }
        while (!value.empty() && IsBlank(value.back())) {
            value.pop_back();
        }
    }
    return value;
}

[[noreturn]] void NotAPosition(int field, std::string_view text, const char* why) {
    throw SettingsReadError(std::string("The settings file holds ") + why + " for " +
                            FieldName(field) + ": \"" + Latin1ToUtf8(text) + "\"");
}

// A decimal number, optionally signed, with or without a fraction; the
// fraction rounds half to even. Decided on the digits themselves, so no
// binary rounding and no locale comes into it.
std::int32_t ReadPosition(std::string_view text, int field) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    const std::string_view number = text.substr(begin, end - begin);

    std::size_t i = 0;
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    const std::size_t wholeBegin = i;
    while (i < number.size() && IsDigit(number[i])) ++i;
    const std::string_view whole = number.substr(wholeBegin, i - wholeBegin);
    std::string_view fraction;
    if (i < number.size() && number[i] == '.') {
        const std::size_t fractionBegin = ++i;
        while (i < number.size() && IsDigit(number[i])) ++i;
        fraction = number.substr(fractionBegin, i - fractionBegin);
    }
    if (i != number.size() || (whole.empty() && fraction.empty())) {
        NotAPosition(field, number, "a value that is not a number");
    }

    constexpr std::uint64_t kLargestMagnitude = std::uint64_t{1} << 31;  // of -2147483648
    std::uint64_t magnitude = 0;
    if (!whole.empty()) {
        const auto [rest, error] =
            std::from_chars(whole.data(), whole.data() + whole.size(), magnitude);
        if (error != std::errc() || magnitude > kLargestMagnitude) {
            NotAPosition(field, number, "a number too large");
        }
        (void)rest;
    }
    if (!fraction.empty()) {
        const char first = fraction.front();
        const bool beyondHalf = fraction.find_first_not_of('0', 1) != std::string_view::npos;
        if (first > '5' || (first == '5' && (beyondHalf || magnitude % 2 == 1))) {
            ++magnitude;
        }
    }
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        NotAPosition(field, number, "a number too large");
    }
    return static_cast<std::int32_t>(value);
}

std::string TextField(std::string_view text) {
    std::string field(1, '"');
    field.append(Utf8ToLatin1(text)).push_back('"');
    return field;
}

// The shortest text that reads back as the same single-precision value, in
// plain digits: whole positions come out as 600 or -90, never 6E+02.
std::string NumberField(float value) {
    if (value == 0) {
        value = 0;  // no "-0"
    }
    char buffer[128];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc()) {
        return "0";  // cannot happen: the buffer holds the longest float
    }
    return std::string(buffer, end);
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

// The temporary file of a save; removed unless it has been renamed.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string pattern) : name_(std::move(pattern)) {
        std::vector<char> buffer(name_.begin(), name_.end());
        buffer.push_back('\0');
        fd_ = ::mkstemp(buffer.data());
        error_ = fd_ < 0 ? errno : 0;
        name_ = buffer.data();
    }
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (created() && !renamed_) {
            ::unlink(name_.c_str());
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
    std::string name_;
    int fd_ = -1;
    int error_ = 0;
    bool closed_ = false;
    bool renamed_ = false;
};

// Follows `path` through every link to the file it finally names, which
// need not exist yet. Returns 0 or the error that stopped the search.
int FinalTarget(const fs::path& path, fs::path& target) {
    constexpr int kMostLinks = 40;  // as the system allows in a path
    target = path;
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0) {
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(info.st_mode)) return 0;
        std::error_code error;
        const fs::path next = fs::read_symlink(target, error);
        if (error) return error.value();
        // A relative link is relative to the folder that holds it.
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return ELOOP;
}

}  // namespace

std::string QuotedSettingsPath(const std::filesystem::path& path) {
    std::error_code error;
    const fs::path full = fs::absolute(path, error);
    return "\"" + (error ? path : full.lexically_normal()).string() + "\"";
}

SettingsReader::SettingsReader(std::istream& in) : in_(in) {}

bool SettingsReader::AtEnd() {
    SkipBlanksAndLineEnds(in_);
    return Peek(in_) == kEnd;
}

void SettingsReader::ReadRecord(SettingsFields& fields) {
    fields.latitude = Latin1ToUtf8(ReadField(in_, 1));
    ++fieldsStored_;
    fields.longitude = Latin1ToUtf8(ReadField(in_, 2));
    ++fieldsStored_;
    fields.top = ReadPosition(ReadField(in_, 3), 3);
    ++fieldsStored_;
    fields.left = ReadPosition(ReadField(in_, 4), 4);
    ++fieldsStored_;
}

std::istringstream OpenSettingsForReading(const std::filesystem::path& path) {
    // Through a descriptor of our own: an ifstream cannot tell a missing file
    // from a forbidden one, and would open a folder. What was looked at is
    // what is read, so nothing can be swapped in between. No blocking, in
    // case the name is a pipe.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
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

std::string StorableCoordinate(std::string_view text, std::string_view decimalSeparator) {
    if (decimalSeparator.empty() ||
        Latin1ToUtf8(Utf8ToLatin1(decimalSeparator)) == decimalSeparator) {
        return std::string(text);
    }
    return ReplaceMarks(std::string(text), decimalSeparator, ".");
}

std::string ShortRecord(std::string_view latitude, std::string_view longitude) {
    return TextField(latitude) + "," + TextField(longitude) + "\r\n";
}

std::string FullRecord(std::string_view latitude, std::string_view longitude, float top,
                       float left) {
    return TextField(latitude) + "," + TextField(longitude) + "," + NumberField(top) + "," +
           NumberField(left) + "\r\n";
}

void SaveSettingsFile(const std::filesystem::path& path, std::string_view bytes) {
    const auto failure = [&path](const std::string& why) {
        return SettingsSaveError("The place could not be saved to " + QuotedSettingsPath(path) +
                                 ": " + why);
    };

    // A link (the user's settings kept with their other dotfiles) is followed:
    // the file it names is replaced, and the link stays.
    fs::path target;
    if (const int error = FinalTarget(path, target); error != 0) {
        throw failure(Reason(error));
    }

    mode_t mode = NewFileMode();
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            throw failure("it is a folder");
        }
        if (S_ISREG(existing.st_mode)) {
            mode = existing.st_mode & 07777;  // a save must not widen or narrow access
            // The rename needs only the folder's permission; a file its user
            // may not write must still not be replaced.
            const int probe = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
            if (probe < 0) {
                throw failure(Reason(errno));
            }
            ::close(probe);
        }
    }

    // The temporary file lies beside the target so that the rename stays
    // within one file system and so replaces the old file in one step.
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::string pattern = ".";
    pattern.append(target.filename().string()).append(".XXXXXX");
    TemporaryFile temporary((folder / pattern).string());
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
    if (::rename(temporary.name().c_str(), target.c_str()) != 0) {
        const int error = errno;
        throw failure(error == EISDIR ? "it is a folder" : Reason(error));
    }
    temporary.MarkRenamed();

    // Make the rename itself durable; the save has already succeeded, so a
    // folder that cannot be synced is not a failure.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        (void)::fsync(folderFd);
        ::close(folderFd);
    }
}

}  // namespace kestrow
