// SPDX-License-Identifier: MIT
#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "app/settings_location.h"
#include "tests/row_name.h"

namespace kestrow {
namespace {

namespace fs = std::filesystem;

// Bytes written out as hex pairs, so expectations can be copied from a dump.
std::string FromHex(std::string_view hex) {
    std::string bytes;
    std::istringstream in{std::string(hex)};
    unsigned value = 0;
    while (in >> std::hex >> value) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

// Values a read must leave alone when it stops before their field.
const Coordinate kOldLatitude = "old latitude";
const Coordinate kOldLongitude = "old longitude";
constexpr std::int32_t kOldTop = 111;
constexpr std::int32_t kOldLeft = 222;

struct ReadOutcome {
    SettingsFields fields;
    int stored = 0;
    bool failed = false;
    std::string message;
};

// Reads the way the window's start-up does: records while not at the end,
// stopping at the first failure.
ReadOutcome ReadAll(std::istream& in) {
    ReadOutcome outcome;
    outcome.fields = {kOldLatitude, kOldLongitude, kOldTop, kOldLeft};
    SettingsReader reader(in);
    try {
        while (!reader.AtEnd()) {
            reader.ReadRecord(outcome.fields);
        }
    } catch (const SettingsReadError& error) {
        outcome.failed = true;
        outcome.message = error.what();
    }
    outcome.stored = reader.FieldsStored();
    return outcome;
}

ReadOutcome ReadAll(const std::string& bytes) {
    std::istringstream in(bytes);
    return ReadAll(in);
}

struct ReadCase {
    const char* name;
    std::string bytes;
    int stored;
    bool fails;
    Coordinate latitude;
    Coordinate longitude;
    std::int32_t top;
    std::int32_t left;
};

std::ostream& operator<<(std::ostream& out, const ReadCase& c) { return out << c.name; }

class SettingsReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(SettingsReadTest, StoresFieldsUpToTheFirstFailure) {
    const ReadCase& c = GetParam();
    const ReadOutcome outcome = ReadAll(c.bytes);
    EXPECT_EQ(outcome.failed, c.fails) << outcome.message;
    EXPECT_EQ(outcome.stored, c.stored);
    EXPECT_EQ(outcome.fields.latitude, c.latitude);
    EXPECT_EQ(outcome.fields.longitude, c.longitude);
    EXPECT_EQ(outcome.fields.top, c.top);
    EXPECT_EQ(outcome.fields.left, c.left);
}

const std::string k256(256, 'x');
const std::string k257(257, 'x');

INSTANTIATE_TEST_SUITE_P(
    Records, SettingsReadTest,
    testing::Values(
        ReadCase{"FullRecordOf24Bytes",
                 FromHex("22 34 38 2C 38 35 22 2C 22 32 2C 33 35 22 2C 36 30 30 2C 39 37 35 0D 0A"),
                 4, false, "48,85", "2,35", 600, 975},
        ReadCase{"ShortRecordFailsAtFieldThree",
                 FromHex("22 34 38 2C 38 35 22 2C 22 32 2C 33 35 22 0D 0A"), 2, true, "48,85",
                 "2,35", kOldTop, kOldLeft},
        ReadCase{"ZerosWithCommas", "\"00,00\",\"000,00\",0,0\r\n", 4, false, "00,00", "000,00", 0,
                 0},
        ReadCase{"NegativePositions", "\"1\",\"2\",-90,-1440\r\n", 4, false, "1", "2", -90, -1440},
        ReadCase{"UnquotedCommaSplitsTheText", "48,85,600,975\r\n", 4, false, "48", "85", 600, 975},
        ReadCase{"SecondRecordWins", "\"1\",\"2\",3,4\r\n\"5\",\"6\",7,8\r\n", 8, false, "5", "6",
                 7, 8},
        ReadCase{"LastLineWithoutLineEnd", "\"1\",\"2\",600,975", 4, false, "1", "2", 600, 975},
        ReadCase{"RecordOverSeveralLines", "\"1\"\r\n\"2\"\r\n600\r\n975\r\n", 4, false, "1", "2",
                 600, 975},
        ReadCase{"SpacesBeforeFields", "  \"1\",  \"2\",  600,  975  \r\n", 4, false, "1", "2", 600,
                 975},
        ReadCase{"SpacesInsideQuotesKept", "\" 1 \",\"2 \",0,0\r\n", 4, false, " 1 ", "2 ", 0, 0},
        ReadCase{"TextAfterClosingQuoteIgnored", "\"1\"junk,\"2\" ,3,4\r\n", 4, false, "1", "2", 3,
                 4},
        ReadCase{"QuotedPositions", "\"1\",\"2\",\"600\",\"975\"\r\n", 4, false, "1", "2", 600,
                 975},
        ReadCase{"EmptyUnquotedText", ",\"2\",3,4\r\n", 4, false, "", "2", 3, 4},
        ReadCase{"EmptyQuotedText", "\"\",\"\",3,4\r\n", 4, false, "", "", 3, 4},
        // Wider than the 16-bit positions of old: 32-bit now.
        ReadCase{"FortyThousandReads", "\"1\",\"2\",40000,-40000\r\n", 4, false, "1", "2", 40000,
                 -40000},
        ReadCase{"LargestPositions", "\"1\",\"2\",2147483647,-2147483648\r\n", 4, false, "1", "2",
                 2147483647, -2147483648},
        ReadCase{"TopBeyond32BitsFails", "\"1\",\"2\",2147483648,0\r\n", 2, true, "1", "2", kOldTop,
                 kOldLeft},
        ReadCase{"LeftBeyond32BitsFails", "\"1\",\"2\",5,-2147483649\r\n", 3, true, "1", "2", 5,
                 kOldLeft},
        ReadCase{"HugeNumberFails", "\"1\",\"2\",99999999999999999999999,0\r\n", 2, true, "1", "2",
                 kOldTop, kOldLeft},
        ReadCase{"LargestUnsignedWithFractionFails", "\"1\",\"2\",18446744073709551615.5,0\r\n", 2,
                 true, "1", "2", kOldTop, kOldLeft},
        ReadCase{"UnquotedTextTrimmed", "  48.85  ,\t2.35\t,600,975\r\n", 4, false, "48.85", "2.35",
                 600, 975},
        ReadCase{"LeadingZerosAreNotLarge", "\"1\",\"2\",0000000000000000000000600,-0007\r\n", 4,
                 false, "1", "2", 600, -7},
        // Content the program never writes.
        ReadCase{"BlankLinesAroundRecord", "\r\n\r\n  \r\n\"1\",\"2\",3,4\r\n\r\n\r\n", 4, false,
                 "1", "2", 3, 4},
        ReadCase{"LoneLineFeeds", "\"1\",\"2\",3,4\n\n\"5\",\"6\",7,8\n", 8, false, "5", "6", 7, 8},
        ReadCase{"LoneCarriageReturns", "\"1\",\"2\",3,4\r\"5\",\"6\",7,8\r", 8, false, "5", "6", 7,
                 8},
        ReadCase{"LoneCrEndsAnUnquotedField", "\"1\",\"2\",3\r4\r", 4, false, "1", "2", 3, 4},
        ReadCase{"StrayTextStartsAFailingRecord", "\"1\",\"2\",3,4\r\nxyz\r\n", 5, true, "xyz", "2",
                 3, 4},
        ReadCase{"QuotedFieldOf256Bytes", "\"" + k256 + "\",\"2\",3,4\r\n", 4, false, k256, "2", 3,
                 4},
        ReadCase{"QuotedFieldOf257BytesFails", "\"" + k257 + "\",\"2\",3,4\r\n", 0, true,
                 kOldLatitude, kOldLongitude, kOldTop, kOldLeft},
        ReadCase{"UnquotedFieldOf257BytesFails", "\"1\"," + k257 + ",3,4\r\n", 1, true, "1",
                 kOldLongitude, kOldTop, kOldLeft},
        ReadCase{"LongZeroRunInPositionFails", "\"1\",\"2\"," + std::string(257, '0') + ",4\r\n", 2,
                 true, "1", "2", kOldTop, kOldLeft},
        ReadCase{"WordInFieldThreeFails", "\"1\",\"2\",abc,4\r\n", 2, true, "1", "2", kOldTop,
                 kOldLeft},
        ReadCase{"TrailingLettersFail", "\"1\",\"2\",3,4px\r\n", 3, true, "1", "2", 3, kOldLeft},
        ReadCase{"EmptyPositionFails", "\"1\",\"2\",,4\r\n", 2, true, "1", "2", kOldTop, kOldLeft},
        ReadCase{"LoneSignFails", "\"1\",\"2\",-,4\r\n", 2, true, "1", "2", kOldTop, kOldLeft},
        ReadCase{"LonePointFails", "\"1\",\"2\",.,4\r\n", 2, true, "1", "2", kOldTop, kOldLeft},
        ReadCase{"CommaDecimalIsTwoFields", "\"1\",\"2\",2,5\r\n", 4, false, "1", "2", 2, 5},
        ReadCase{"UnterminatedQuoteFails", "\"1\",\"2,3,4\r\n", 1, true, "1", kOldLongitude,
                 kOldTop, kOldLeft},
        ReadCase{"EndsRightAfterOpeningQuote", "\"", 0, true, kOldLatitude, kOldLongitude, kOldTop,
                 kOldLeft},
        ReadCase{"ZeroBytes", "", 0, false, kOldLatitude, kOldLongitude, kOldTop, kOldLeft},
        ReadCase{"OnlyBlanksAndLineEnds", " \r\n\t\n\r  ", 0, false, kOldLatitude, kOldLongitude,
                 kOldTop, kOldLeft}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// Fractions round half to even, decided on the digits written, not on a
// binary approximation of them.
struct FractionCase {
    const char* text;
    std::int32_t expected;
};

class SettingsFractionTest : public testing::TestWithParam<FractionCase> {};

TEST_P(SettingsFractionTest, RoundsHalfToEven) {
    const FractionCase& c = GetParam();
    const ReadOutcome outcome = ReadAll("\"1\",\"2\"," + std::string(c.text) + ",0\r\n");
    ASSERT_FALSE(outcome.failed) << outcome.message;
    EXPECT_EQ(outcome.fields.top, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Positions, SettingsFractionTest,
                         testing::Values(FractionCase{"2.5", 2}, FractionCase{"3.5", 4},
                                         FractionCase{"-2.5", -2}, FractionCase{"-3.5", -4},
                                         FractionCase{"0.5", 0}, FractionCase{"-0.5", 0},
                                         FractionCase{"1.5", 2}, FractionCase{"2.5000001", 3},
                                         FractionCase{"2.4999999999999999999", 2},
                                         FractionCase{"600.0", 600}, FractionCase{"600.", 600},
                                         FractionCase{".7", 1}, FractionCase{"+12.49", 12},
                                         FractionCase{"2147483646.5", 2147483646},
                                         FractionCase{"-2147483647.5", -2147483648}),
                         kestrow::test_rows::RowName{});

TEST(SettingsFractionEdge, RoundingPastTheLargestPositionFails) {
    const ReadOutcome outcome = ReadAll("\"1\",\"2\",2147483647.5,0\r\n");
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.fields.top, kOldTop);
}

TEST(SettingsReader, AtEndAtOnceForZeroBytes) {
    std::istringstream in("");
    SettingsReader reader(in);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.FieldsStored(), 0);
}

TEST(SettingsReader, AtEndRightAfterTheFourthField) {
    for (const std::string bytes : {"\"1\",\"2\",3,4\r\n", "\"1\",\"2\",3,4"}) {
        std::istringstream in(bytes);
        SettingsReader reader(in);
        SettingsFields fields;
        ASSERT_FALSE(reader.AtEnd());
        reader.ReadRecord(fields);
        EXPECT_TRUE(reader.AtEnd()) << bytes;
    }
}

TEST(SettingsReader, FailureNamesTheField) {
    const ReadOutcome outcome = ReadAll("\"1\",\"2\"\r\n");
    EXPECT_NE(outcome.message.find("window top"), std::string::npos) << outcome.message;
}

// Delivers some bytes, then fails as a disk would.
class FailingBuffer : public std::streambuf {
  public:
    explicit FailingBuffer(std::string bytes) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }

  protected:
    int_type underflow() override { throw std::ios_base::failure("device error"); }

  private:
    std::string bytes_;
};

TEST(SettingsReader, ReadErrorIsNotTakenForTheEndOfTheFile) {
    // Cut off in the middle of the last number: 97 must not be stored for 975.
    FailingBuffer buffer("\"1\",\"2\",600,97");
    std::istream in(&buffer);
    const ReadOutcome outcome = ReadAll(in);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.fields.left, kOldLeft);
    EXPECT_EQ(outcome.stored, 3);
}

// Writing.

struct WriteCase {
    const char* name;
    std::string latitude;
    std::string longitude;
    float top;
    float left;
    std::string expected;
};

std::ostream& operator<<(std::ostream& out, const WriteCase& c) { return out << c.name; }

class SettingsWriteTest : public testing::TestWithParam<WriteCase> {};

TEST_P(SettingsWriteTest, WritesTheExactBytes) {
    const WriteCase& c = GetParam();
    EXPECT_EQ(FullRecord(c.latitude, c.longitude, c.top, c.left), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    FullRecords, SettingsWriteTest,
    testing::Values(
        WriteCase{"Example24Bytes", "48,85", "2,35", 600, 975,
                  FromHex("22 34 38 2C 38 35 22 2C 22 32 2C 33 35 22 2C 36 30 30 2C 39 37 35 0D "
                          "0A")},
        WriteCase{"Zeros22Bytes", "00,00", "000,00", 0, 0,
                  FromHex("22 30 30 2C 30 30 22 2C 22 30 30 30 2C 30 30 22 2C 30 2C 30 0D 0A")},
        WriteCase{"NegativeWithMinusSign", "1", "2", -90, -1, "\"1\",\"2\",-90,-1\r\n"},
        WriteCase{"NegativeZeroHasNoSign", "1", "2", -0.0f, 0, "\"1\",\"2\",0,0\r\n"},
        WriteCase{"BeyondSixteenBits", "1", "2", 40000, -40000, "\"1\",\"2\",40000,-40000\r\n"},
        WriteCase{"NoExponentForLargeValues", "1", "2", 1e10f, 16777216,
                  "\"1\",\"2\",10000000000,16777216\r\n"},
        WriteCase{"ShortestFraction", "1", "2", 0.1f, -1440.75f, "\"1\",\"2\",0.1,-1440.75\r\n"},
        WriteCase{"DoubleQuoteUnchanged", "4\"8", "2", 1, 2, "\"4\"8\",\"2\",1,2\r\n"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(SettingsWrite, ShortRecordOf16Bytes) {
    EXPECT_EQ(ShortRecord("48,85", "2,35"),
              FromHex("22 34 38 2C 38 35 22 2C 22 32 2C 33 35 22 0D 0A"));
}

TEST(SettingsWrite, TextHoldingADoubleQuoteDoesNotReadBackWhole) {
    const ReadOutcome outcome = ReadAll(FullRecord("4\"8", "2", 600, 975));
    EXPECT_EQ(outcome.fields.latitude, "4");
    EXPECT_EQ(outcome.fields.longitude, "2");
    EXPECT_EQ(outcome.fields.top, 600);
}

class SettingsPositionRoundTrip : public testing::TestWithParam<float> {};

TEST_P(SettingsPositionRoundTrip, ReadsBackTheSameWholeNumber) {
    const float position = GetParam();
    const ReadOutcome outcome = ReadAll(FullRecord("1", "2", position, -position));
    ASSERT_FALSE(outcome.failed) << outcome.message;
    EXPECT_EQ(outcome.fields.top, static_cast<std::int32_t>(position));
    EXPECT_EQ(outcome.fields.left, static_cast<std::int32_t>(-position));
}

INSTANTIATE_TEST_SUITE_P(Positions, SettingsPositionRoundTrip,
                         testing::Values(0.0f, 1.0f, 600.0f, 32767.0f, 32768.0f, 40000.0f,
                                         16777216.0f, 1e9f),
                         kestrow::test_rows::RowName{});

TEST(SettingsPositionRoundTripEdge, BeyondThirtyTwoBitsFailsOnReading) {
    const ReadOutcome outcome = ReadAll(FullRecord("1", "2", 3e9f, 0));
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.stored, 2);
}

// Text is UTF-8 in the program and Latin-1 in the file.
struct Latin1Case {
    const char* name;
    std::string text;
    std::string stored;
};

std::ostream& operator<<(std::ostream& out, const Latin1Case& c) { return out << c.name; }

class SettingsLatin1Test : public testing::TestWithParam<Latin1Case> {};

TEST_P(SettingsLatin1Test, StoresOneBytePerCharacter) {
    const Latin1Case& c = GetParam();
    EXPECT_EQ(ShortRecord(c.text, ""), "\"" + c.stored + "\",\"\"\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsLatin1Test,
    testing::Values(Latin1Case{"Ascii", "48.85", "48.85"}, Latin1Case{"EAcute", "\u00E9", "\xE9"},
                    Latin1Case{"YDiaeresis", "\u00FF", "\xFF"},
                    Latin1Case{"NoBreakSpace", "12\u00A0000",
                               "12\xA0"
                               "000"},
                    Latin1Case{"EuroSignIsOutside", "\u20AC", "?"},
                    Latin1Case{"FourByteCharacterIsOne", "a\U0001D11Ez", "a?z"},
                    Latin1Case{"TruncatedSequence", "a\xC3", "a?"},
                    Latin1Case{"Overlong", "\xC0\xAF", "??"},
                    Latin1Case{"Surrogate", "\xED\xA0\x80", "???"},
                    Latin1Case{"BeyondUnicode", "\xF4\x90\x80\x80", "????"},
                    Latin1Case{"StrayContinuation", "\x80x", "?x"}),
    [](const testing::TestParamInfo<Latin1Case>& info) { return std::string(info.param.name); });

TEST(SettingsLatin1, ReadsBytesAsCharacters) {
    const ReadOutcome outcome = ReadAll("\"\xE9\xFF\x80\",\"-\xB0\",0,0\r\n");
    ASSERT_FALSE(outcome.failed) << outcome.message;
    EXPECT_EQ(outcome.fields.latitude, "\u00E9\u00FF\u0080");
    EXPECT_EQ(outcome.fields.longitude, "-\u00B0");
}

TEST(SettingsLatin1, EveryByteButTheQuoteRoundTrips) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '"') bytes.push_back(static_cast<char>(b));
    }
    const std::string file = "\"" + bytes + "\",\"\"\r\n";
    const ReadOutcome outcome = ReadAll(file + "0,0\r\n");
    ASSERT_FALSE(outcome.failed) << outcome.message;
    ASSERT_TRUE(outcome.fields.latitude.has_value());
    EXPECT_EQ(ShortRecord(*outcome.fields.latitude, ""), file);
}

// Files on disk.

class SettingsFileOnDisk : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::path(testing::TempDir()) / "kestrow-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        path_ = folder_ / kSettingsFileName;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Contents() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
    fs::path path_;
};

TEST_F(SettingsFileOnDisk, MissingFileIsToldApart) {
    try {
        OpenSettingsForReading(path_);
        FAIL() << "opened a missing file";
    } catch (const SettingsOpenError& error) {
        EXPECT_TRUE(error.missing());
        EXPECT_EQ(error.what(), "\"" + path_.string() + "\" was not found");
    }
}

TEST_F(SettingsFileOnDisk, FolderIsNotMissing) {
    fs::create_directory(path_);
    try {
        OpenSettingsForReading(path_);
        FAIL() << "opened a folder";
    } catch (const SettingsOpenError& error) {
        EXPECT_FALSE(error.missing());
        EXPECT_EQ(error.what(), "\"" + path_.string() + "\" could not be read: it is a folder");
    }
}

// Files that are there but not read: told apart from a missing one, so
// that the window keeps them rather than saving over them.
TEST_F(SettingsFileOnDisk, UnreadableKindsAreNotMissing) {
    const struct {
        std::function<void(const fs::path&)> make;
        std::string why;
    } cases[] = {
        {[](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); },
         "it is not an ordinary file"},
        {[](const fs::path& p) {
             std::ofstream{p}.close();
             fs::resize_file(p, kMaxSettingsFileBytes + 1);
         },
         "it is larger than " + std::to_string(kMaxSettingsFileBytes) + " bytes"},
    };
    for (const auto& c : cases) {
        fs::remove(path_);
        c.make(path_);
        try {
            OpenSettingsForReading(path_);
            ADD_FAILURE() << "read " << c.why;
        } catch (const SettingsOpenError& error) {
            EXPECT_FALSE(error.missing());
            EXPECT_EQ(error.what(), "\"" + path_.string() + "\" could not be read: " + c.why);
        }
    }
}

TEST_F(SettingsFileOnDisk, SaveThenReadGivesTheRecord) {
    SaveSettingsFile(path_, FullRecord("48,85", "2,35", 600, 975));
    std::istringstream in = OpenSettingsForReading(path_);
    const ReadOutcome outcome = ReadAll(in);
    EXPECT_FALSE(outcome.failed) << outcome.message;
    EXPECT_EQ(outcome.fields.latitude, "48,85");
    EXPECT_EQ(outcome.fields.left, 975);
}

TEST_F(SettingsFileOnDisk, SaveReplacesALongerFileWholly) {
    SaveSettingsFile(path_, FullRecord("-33.8688", "151.2093", 12345, 67890));
    SaveSettingsFile(path_, ShortRecord("1", "2"));
    EXPECT_EQ(Contents(), "\"1\",\"2\"\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"Kestrow.dat"});
}

// The user's own mode is kept, less what would hand anything to another user;
// another user's file, planted in a shared folder, is no model at all.
TEST_F(SettingsFileOnDisk, SaveKeepsThePermissionsOfTheOldFile) {
    const struct {
        bool theirs;
        mode_t before, after;
    } cases[] = {
        {false, 0640, 0640}, {false, 06777, 0755}, {true, 06777, 0644}, {true, 0666, 0644}};
    const mode_t previous = ::umask(022);
    for (const auto& c : cases) {
        if (c.theirs && ::geteuid() != 0) continue;  // only root can plant it
        { std::ofstream(path_) << "old"; }
        ASSERT_EQ(::chown(path_.c_str(), c.theirs ? 65534 : ::geteuid(), gid_t(-1)), 0);
        ASSERT_EQ(::chmod(path_.c_str(), c.before), 0);
        SaveSettingsFile(path_, ShortRecord("1", "2"));
        struct stat info {};
        ASSERT_EQ(::stat(path_.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, c.after) << std::oct << c.before;
        EXPECT_EQ(info.st_uid, ::geteuid());
    }
    ::umask(previous);
}

// Settings kept elsewhere and linked: the save replaces the file the links
// lead to, within that file's folder, and the links stay as they were. In a
// folder that all may write to and that keeps files to their owners, as /tmp
// does, a link that another user put there is not followed: neither read nor
// written, and nothing is written anywhere.
struct LinkCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // link, then what it holds
    const char* target;
    bool targetExists;
    std::vector<std::string> shared = {};     // folders made like /tmp
    std::vector<std::string> othersOwn = {};  // links and folders given to user 65534
    bool followed = true;
    const char* settings = "Kestrow.dat";  // the settings path within the test's folder
    const char* planted = nullptr;         // a link on the way that is refused
};

std::ostream& operator<<(std::ostream& out, const LinkCase& c) { return out << c.name; }

class SettingsSaveThroughLinks : public SettingsFileOnDisk,
                                 public testing::WithParamInterface<LinkCase> {};

TEST_P(SettingsSaveThroughLinks, ReplaceTheFileTheyLeadTo) {
    const LinkCase& c = GetParam();
    fs::create_directories(folder_ / "dotfiles" / "kestrow");
    const fs::path target = folder_ / c.target;
    if (c.targetExists) {
        std::ofstream(target) << "old";
        ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
    }
    for (const auto& [link, holds] : c.links) {
        fs::create_symlink(holds == "ABSOLUTE" ? target : fs::path(holds), folder_ / link);
    }
    for (const std::string& shared : c.shared) {
        ASSERT_EQ(::chmod((folder_ / shared).c_str(), 01777), 0);
    }
    if (!c.othersOwn.empty() && ::geteuid() != 0)
        GTEST_SKIP() << "only root can act as another user";
    for (const std::string& theirs : c.othersOwn) {
        ASSERT_EQ(::lchown((folder_ / theirs).c_str(), 65534, 65534), 0);
    }
    const fs::path settings = folder_ / c.settings;
    const auto all = [this] {
        std::vector<fs::path> names(fs::recursive_directory_iterator(folder_), {});
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<fs::path> before = all();
    std::string refusal;
    try {
        SaveSettings(settings, ShortRecord("1", "2"));
    } catch (const SettingsSaveError& error) {
        refusal = error.what();
    }
    if (c.followed) {
        EXPECT_EQ(refusal, "");
    } else {
        const std::string why =
            std::string(": ") +
            (c.planted ? "\"" + (folder_ / c.planted).string() + "\"" : std::string("it")) +
            " is a link that another user put in a shared folder";
        EXPECT_EQ(refusal, "The place could not be saved to \"" + settings.string() + "\"" + why);
        try {
            OpenSettingsForReading(settings);
            ADD_FAILURE() << "read through the link";
        } catch (const SettingsOpenError& error) {
            EXPECT_FALSE(error.missing());
            EXPECT_EQ(error.what(), "\"" + settings.string() + "\" could not be read" + why);
        }
        EXPECT_EQ(all(), before);
    }
    for (const auto& [link, holds] : c.links) {
        EXPECT_TRUE(fs::is_symlink(folder_ / link)) << link;
    }
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              c.followed ? "\"1\",\"2\"\r\n" : "old");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    if (c.targetExists) {
        EXPECT_EQ(info.st_mode & 07777, 0604u);
    }
    // Nothing left beside the target or the links.
    EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Links, SettingsSaveThroughLinks,
    testing::Values(
        LinkCase{"RelativeIntoAFolder",
                 {{"Kestrow.dat", "dotfiles/kestrow/Kestrow.dat"}},
                 "dotfiles/kestrow/Kestrow.dat",
                 true},
        LinkCase{"ChainOfRelativeAndAbsolute",
                 {{"Kestrow.dat", "dotfiles/link"}, {"dotfiles/link", "ABSOLUTE"}},
                 "dotfiles/kestrow/settings.dat",
                 true},
        LinkCase{"ChainRelativeToEachLinksFolder",
                 {{"Kestrow.dat", "dotfiles/link"}, {"dotfiles/link", "kestrow/Kestrow.dat"}},
                 "dotfiles/kestrow/Kestrow.dat",
                 true},
        LinkCase{"ToAFileNotYetMade",
                 {{"Kestrow.dat", "dotfiles/kestrow/Kestrow.dat"}},
                 "dotfiles/kestrow/Kestrow.dat",
                 false},
        LinkCase{"AnotherUsersInASharedFolder",
                 {{"Kestrow.dat", "dotfiles/kestrow/Kestrow.dat"}},
                 "dotfiles/kestrow/Kestrow.dat",
                 true,
                 {"."},
                 {"Kestrow.dat"},
                 false},
        LinkCase{"OwnInASharedFolder",
                 {{"Kestrow.dat", "dotfiles/kestrow/Kestrow.dat"}},
                 "dotfiles/kestrow/Kestrow.dat",
                 true,
                 {"."}},
        LinkCase{"AnotherUsersLaterInAChain",
                 {{"Kestrow.dat", "dotfiles/link"}, {"dotfiles/link", "ABSOLUTE"}},
                 "dotfiles/kestrow/settings.dat",
                 true,
                 {"dotfiles"},
                 {"dotfiles/link"},
                 false},
        LinkCase{"TheSharedFolderOwnersInIt",
                 {{"Kestrow.dat", "dotfiles/link"}, {"dotfiles/link", "kestrow/Kestrow.dat"}},
                 "dotfiles/kestrow/Kestrow.dat",
                 true,
                 {"dotfiles"},
                 {"dotfiles", "dotfiles/link"}},
        // Higher in the path: no folder is made through it either.
        LinkCase{"AnotherUsersFolderLinkOnTheWay",
                 {{"xdg", "dotfiles"}},
                 "dotfiles/kestrow/Kestrow.dat",
                 true,
                 {"."},
                 {"xdg"},
                 false,
                 "xdg/new/Kestrow.dat",
                 "xdg"}),
    [](const testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsFileOnDisk, NewFileFollowsTheUmask) {
    const mode_t previous = ::umask(027);
    SaveSettingsFile(path_, ShortRecord("1", "2"));
    ::umask(previous);
    struct stat info {};
    ASSERT_EQ(::stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace kestrow
