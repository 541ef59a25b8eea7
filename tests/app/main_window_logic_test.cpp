// SPDX-License-Identifier: MIT
#include "app/main_window_logic.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "fake_main_window_view.h"
#include "tests/day_texts.h"
#include "tests/row_name.h"

namespace kestrow {
namespace {

namespace fs = std::filesystem;
using testing::FakeMainWindowView;
using testing::FixedClock;
using testing::FixedLocale;

constexpr auto kLat = CoordinateBox::Latitude;
constexpr auto kLon = CoordinateBox::Longitude;

class MainWindowLogicTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kestrow-logic-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        path_ = folder_ / "Kestrow.dat";
        clock_.Set(2013, 1, 2, 10, 0, 0, 1);
        Make(",");
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Make(const std::string& separator) {
        locale_ = std::make_unique<FixedLocale>(separator);
        view_ = std::make_unique<FakeMainWindowView>();
        errors_.str("");
        logic_ = std::make_unique<MainWindowLogic>(*view_, clock_, *locale_, errors_, path_);
        view_->Attach(*logic_);
    }

    void WriteFile(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
    std::string FileBytes() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    AlmanacTexts Expected(Coordinate lat, Coordinate lon, double leadHours = 1) const {
        return testing::DayTexts(ReadPlace(lat, lon, "."), ReadToday(clock_.reading),
                                 {DesignClockFor(leadHours)});
    }
    void ExpectLabels(const AlmanacTexts& t) const {
        EXPECT_EQ(view_->almanac.sunrise, t.sunrise);
        EXPECT_EQ(view_->almanac.sunset, t.sunset);
        EXPECT_EQ(view_->almanac.length, t.length);
        EXPECT_EQ(view_->almanac.change, t.change);
    }

    fs::path folder_;
    fs::path path_;
    FixedClock clock_;
    std::unique_ptr<FixedLocale> locale_;
    std::unique_ptr<FakeMainWindowView> view_;
    std::ostringstream errors_;
    std::unique_ptr<MainWindowLogic> logic_;
};

TEST_F(MainWindowLogicTest, FirstStartWithoutAFile) {
    logic_->OnLoad();
    EXPECT_EQ(view_->height, MainWindowLogic::kCompactHeight);
    // Nothing in the clipped frame can be typed into.
    EXPECT_FALSE(view_->frameFocusable);
    EXPECT_EQ(view_->moves, 0);
    EXPECT_EQ(view_->boxes[kLat], "00,00");
    EXPECT_EQ(view_->boxes[kLon], "000,00");
    EXPECT_FALSE(logic_->Latitude().has_value());
    ExpectLabels(Expected(std::nullopt, std::nullopt));
    EXPECT_EQ(view_->caption, "Kestrow  02/01/2013");
    EXPECT_EQ(view_->toolTips[AlmanacRow::Sunrise], "Sunrise 02/01/2013");
    EXPECT_EQ(view_->toolTips[AlmanacRow::Sunset], "Sunset 02/01/2013");
    EXPECT_EQ(view_->toolTips[AlmanacRow::DayLength], "length 02/01/2013");
    EXPECT_EQ(logic_->DecimalSeparator(), ",");
    EXPECT_TRUE(view_->messages.empty());
    EXPECT_FALSE(fs::exists(path_));
}

TEST_F(MainWindowLogicTest, ZeroByteFileMovesToTheCornerAndEmptiesTheBoxes) {
    WriteFile("");
    logic_->OnLoad();
    EXPECT_EQ(view_->top, 0);
    EXPECT_EQ(view_->left, 0);
    EXPECT_EQ(view_->boxes[kLat], "");
    EXPECT_EQ(view_->boxes[kLon], "");
    ExpectLabels(Expected(std::nullopt, std::nullopt));
    EXPECT_TRUE(view_->messages.empty());
}

TEST_F(MainWindowLogicTest, FullRecordRestoresPlaceAndPosition) {
    WriteFile("\"48.85\",\"2.35\",600,975\r\n");
    logic_->OnLoad();
    EXPECT_EQ(view_->top, 600);
    EXPECT_EQ(view_->left, 975);
    EXPECT_EQ(view_->boxes[kLat], "48,85");  // shown with this locale's mark
    EXPECT_EQ(view_->boxes[kLon], "2,35");
    EXPECT_EQ(logic_->Latitude(), "48.85");  // kept as read
    ExpectLabels(Expected("48.85", "2.35"));
    EXPECT_EQ(view_->almanac.sunrise, "8 h 45");
}

TEST_F(MainWindowLogicTest, ShortRecordAtStartShowsThePlaceSoClosingKeepsIt) {
    WriteFile("\"48,85\",\"2,35\"\r\n");
    logic_->OnLoad();
    ExpectLabels(Expected("48.85", "2.35"));
    EXPECT_EQ(view_->moves, 0);
    EXPECT_EQ(view_->boxes[kLat], "48,85");
    logic_->OnClose();
    EXPECT_EQ(FileBytes(), "\"48,85\",\"2,35\",2400,4800\r\n");
}

TEST_F(MainWindowLogicTest, SaveThenCloseWritesTheExactBytes) {
    logic_->OnLoad();
    logic_->OnSetup();
    EXPECT_EQ(view_->height, MainWindowLogic::kExpandedHeight);
    EXPECT_TRUE(view_->frameFocusable);
    EXPECT_EQ(view_->focus, kLat);
    view_->boxes[kLat] = view_->boxes[kLon] = "";
    view_->Type(kLat, "48.85");
    view_->Type(kLon, "2.35");
    logic_->OnSave();
    EXPECT_EQ(FileBytes(), "\"48,85\",\"2,35\"\r\n");
    EXPECT_EQ(view_->height, MainWindowLogic::kCompactHeight);
    EXPECT_FALSE(view_->frameFocusable);
    EXPECT_FALSE(view_->focus.has_value());
    EXPECT_TRUE(view_->almanacFocused);  // where a screen reader hears the new times
    EXPECT_EQ(view_->moves, 0);
    EXPECT_EQ(logic_->Latitude(), "48,85");
    ExpectLabels(Expected("48.85", "2.35"));
    view_->top = 600;
    view_->left = 975;
    logic_->OnClose();
    EXPECT_EQ(FileBytes(), "\"48,85\",\"2,35\",600,975\r\n");
    EXPECT_TRUE(view_->messages.empty());
}

// Whatever the locale's decimal mark, a saved place reads back: a mark that
// the file's code page cannot hold is stored as a point.
struct MarkCase {
    const char* separator;
    const char* typed;
    const char* record;
};

class DecimalMarks : public MainWindowLogicTest, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(DecimalMarks, SavedPlaceReadsBack) {
    const auto& c = GetParam();
    Make(c.separator);
    logic_->OnLoad();
    logic_->OnSetup();
    view_->SetBoxText(kLat, "35.7");
    view_->SetBoxText(kLon, "51.4");
    EXPECT_EQ(view_->boxes[kLat], c.typed);
    logic_->OnSave();
    logic_->OnClose();
    EXPECT_EQ(FileBytes(), c.record);
    Make(c.separator);
    logic_->OnLoad();
    EXPECT_TRUE(view_->messages.empty()) << view_->messages[0];
    EXPECT_EQ(view_->boxes[kLat], c.typed);
    ExpectLabels(Expected("35.7", "51.4"));
}

INSTANTIATE_TEST_SUITE_P(Marks, DecimalMarks,
                         ::testing::Values(MarkCase{",", "35,7", "\"35,7\",\"51,4\",2400,4800\r\n"},
                                           MarkCase{".", "35.7", "\"35.7\",\"51.4\",2400,4800\r\n"},
                                           MarkCase{"\u00B7",
                                                    "35\u00B7"
                                                    "7",
                                                    "\"35\xB7"
                                                    "7\",\"51\xB7"
                                                    "4\",2400,4800\r\n"},
                                           MarkCase{"\u066B",
                                                    "35\u066B"
                                                    "7",
                                                    "\"35.7\",\"51.4\",2400,4800\r\n"}),
                         kestrow::test_rows::RowName{});

TEST_F(MainWindowLogicTest, SetupTwiceStaysExpandedAndQuestionMarkShowsOneAbout) {
    logic_->OnLoad();
    logic_->OnSetup();
    logic_->OnSetup();
    EXPECT_EQ(view_->height, MainWindowLogic::kExpandedHeight);
    logic_->OnAbout();
    logic_->OnAbout();
    EXPECT_TRUE(view_->aboutShown);
    logic_->OnClose();
    EXPECT_FALSE(view_->aboutShown);
}

// Keys typed at a caret: only a point is replaced, in place, and the caret
// stays where the user put it, just after a mark that replaced a point.
struct TypingCase {
    const char* separator;
    const char* before;
    int caret;
    const char* keys;
    const char* after;
    int caretAfter;
    int replacements;  // each kept in the box's undo history
};

class Typing : public MainWindowLogicTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(Typing, RepairsOnlyThePointsAndKeepsTheCaret) {
    const auto& c = GetParam();
    Make(c.separator);
    logic_->OnLoad();
    view_->boxes[kLat] = c.before;
    view_->selStart[kLat] = c.caret;
    view_->writes = 0;
    view_->Type(kLat, c.keys);
    EXPECT_EQ(view_->boxes[kLat], c.after);
    EXPECT_EQ(view_->selStart[kLat], c.caretAfter);
    EXPECT_EQ(view_->replacements, c.replacements);
    EXPECT_EQ(view_->writes, 0);    // never the whole text, which would lose the history
    EXPECT_LE(view_->maxDepth, 2);  // the repair re-enters once, no deeper
}

INSTANTIATE_TEST_SUITE_P(Keys, Typing,
                         ::testing::Values(TypingCase{",", "", 0, "45.5", "45,5", 4, 1},
                                           TypingCase{",", "48,85", 3, "9", "48,985", 4, 0},
                                           TypingCase{",", "48,5", 1, ".", "4,8,5", 2, 1},
                                           TypingCase{".", "48.85", 2, "7", "487.85", 3, 0},
                                           TypingCase{"\u066B", "4885", 2, ".",
                                                      "48\u066B"
                                                      "85",
                                                      3, 1}));

// With --user-settings and no file yet, the zone's city is offered with Setup
// shown; Escape puts back the boxes as Setup found them, and closing keeps them.
struct FirstStartCase {
    const char* record;  // null: no file, a first start
    const char* closed;  // what closing writes before the position
    std::optional<ZonePlace> guess;
};

class FirstStart : public MainWindowLogicTest,
                   public ::testing::WithParamInterface<FirstStartCase> {};

TEST_P(FirstStart, OffersTheZonesPlaceOnlyWithoutAFile) {
    const auto& c = GetParam();
    const bool first = c.record == nullptr;
    if (!first) WriteFile(c.record);
    int asked = 0;
    logic_->OfferFirstPlace([&] { return ++asked, c.guess; });
    logic_->OnLoad();
    EXPECT_EQ(asked, first ? 1 : 0);
    EXPECT_EQ(fs::exists(path_), !first);
    EXPECT_EQ(view_->height,
              first ? MainWindowLogic::kExpandedHeight : MainWindowLogic::kCompactHeight);
    EXPECT_EQ(view_->focus.has_value(), first);
    logic_->OnSetup();
    view_->Type(kLat, "1");
    view_->SetBoxText(kLon, "9");
    logic_->OnEscape();
    EXPECT_EQ(view_->height, MainWindowLogic::kCompactHeight);
    EXPECT_FALSE(view_->frameFocusable);
    logic_->OnEscape();  // compact already: nothing
    logic_->OnClose();
    EXPECT_EQ(FileBytes().substr(0, std::string(c.closed).size()), c.closed);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, FirstStart,
    ::testing::Values(
        FirstStartCase{nullptr, "\"48,87\",\"2,33\",", ZonePlace{48 + 52 / 60.0, 2 + 1 / 3.0}},
        FirstStartCase{nullptr, "\"00,00\",\"000,00\",", std::nullopt},
        FirstStartCase{"\"48.85\",\"2.35\",9,9\r\n", "\"48,85\",\"2,35\",", ZonePlace{}},
        FirstStartCase{"\"48,85\",\"2,35\"\r\n", "\"48,85\",\"2,35\",", ZonePlace{}}),
    kestrow::test_rows::RowName{});

TEST_F(MainWindowLogicTest, APasteHasEveryPointReplacedInPlace) {
    logic_->OnLoad();
    view_->SetBoxText(kLon, "1.2.3");
    EXPECT_EQ(view_->boxes[kLon], "1,2,3");
    EXPECT_EQ(view_->replacements, 2);
}

TEST_F(MainWindowLogicTest, ALongTextIsCutInTheBoxWhileLatKeepsItWhole) {
    WriteFile("\"-48.8512\",\"-122.4194\",600,975\r\n");
    logic_->OnLoad();
    EXPECT_EQ(view_->boxes[kLat], "-48,85");
    EXPECT_EQ(view_->boxes[kLon], "-122,41");
    EXPECT_EQ(logic_->Latitude(), "-48.8512");
    ExpectLabels(Expected("-48.8512", "-122.4194"));
    logic_->OnClose();
    EXPECT_EQ(FileBytes(), "\"-48,85\",\"-122,41\",600,975\r\n");
}

// Positions past the 16-bit range are common on wide desktops.
struct PositionCase {
    const char* record;
    bool moved;
    int top, left;
    bool boxesFilled;
};

class WindowPositions : public MainWindowLogicTest,
                        public ::testing::WithParamInterface<PositionCase> {};

TEST_P(WindowPositions, AreKeptWhenOnAScreen) {
    const auto& c = GetParam();
    WriteFile(c.record);
    logic_->OnLoad();
    EXPECT_EQ(view_->moves, c.moved ? 1 : 0);
    EXPECT_EQ(view_->top, c.top);
    EXPECT_EQ(view_->left, c.left);
    EXPECT_EQ(view_->boxes[kLat], c.boxesFilled ? "48,85" : "00,00");
    ExpectLabels(Expected("48.85", "2.35"));
}

INSTANTIATE_TEST_SUITE_P(
    Records, WindowPositions,
    ::testing::Values(
        PositionCase{"\"48.85\",\"2.35\",600,40000\r\n", true, 600, 40000, true},
        // A monitor since removed: the window stays where the system puts it.
        PositionCase{"\"48.85\",\"2.35\",600,90000\r\n", false, FakeMainWindowView::kDefaultTop,
                     FakeMainWindowView::kDefaultLeft, true},
        PositionCase{"\"48.85\",\"2.35\",-90000,600\r\n", false, FakeMainWindowView::kDefaultTop,
                     FakeMainWindowView::kDefaultLeft, true},
        // A title bar partly off the screen could not be dragged back.
        PositionCase{"\"48.85\",\"2.35\",-90,600\r\n", false, FakeMainWindowView::kDefaultTop,
                     FakeMainWindowView::kDefaultLeft, true},
        // Beyond 32 bits the read fails, but the place read before it shows.
        PositionCase{"\"48.85\",\"2.35\",600,4294967296\r\n", false,
                     FakeMainWindowView::kDefaultTop, FakeMainWindowView::kDefaultLeft, true}),
    kestrow::test_rows::RowName{});

// Where the window system does not tell the window's position, none is made up.
struct UnknownPositionCase {
    const char* record;  // null: no file
    bool save;           // "OK" before closing
    const char* closed;
};

class UnknownWindowPosition : public MainWindowLogicTest,
                              public ::testing::WithParamInterface<UnknownPositionCase> {};

TEST_P(UnknownWindowPosition, ClosingWritesOnlyAPositionThatWasRead) {
    const auto& c = GetParam();
    if (c.record != nullptr) WriteFile(c.record);
    view_->knowsPosition = false;
    logic_->OnLoad();
    EXPECT_EQ(view_->moves, 0);
    if (c.save) {
        logic_->OnSetup();
        logic_->OnSave();
    }
    logic_->OnClose();
    EXPECT_EQ(FileBytes(), c.closed);
    EXPECT_TRUE(view_->messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Records, UnknownWindowPosition,
    ::testing::Values(UnknownPositionCase{"\"48,85\",\"2,35\",600,975\r\n", false,
                                          "\"48,85\",\"2,35\",600,975\r\n"},
                      UnknownPositionCase{"\"48,85\",\"2,35\",-90,90000\r\n", true,
                                          "\"48,85\",\"2,35\",-90,90000\r\n"},
                      UnknownPositionCase{"\"48,85\",\"2,35\"\r\n", true, "\"48,85\",\"2,35\"\r\n"},
                      UnknownPositionCase{"\"48,85\",\"2,35\",600\r\n", false,
                                          "\"48,85\",\"2,35\"\r\n"},
                      UnknownPositionCase{nullptr, false, "\"00,00\",\"000,00\"\r\n"}),
    kestrow::test_rows::RowName{});

struct BadBoxCase {
    std::string latitude;
    const char* longitude;
    CoordinateBox focus;
    const char* message;
};

class BadBoxes : public MainWindowLogicTest, public ::testing::WithParamInterface<BadBoxCase> {};

TEST_P(BadBoxes, AreNeverSaved) {
    const auto& c = GetParam();
    const std::string saved = "\"48,85\",\"2,35\",600,975\r\n";
    WriteFile(saved);
    logic_->OnLoad();
    logic_->OnSetup();
    view_->SetBoxText(kLat, c.latitude);
    view_->SetBoxText(kLon, c.longitude);
    logic_->OnSave();
    EXPECT_EQ(FileBytes(), saved);
    EXPECT_EQ(view_->height, MainWindowLogic::kExpandedHeight);
    EXPECT_EQ(view_->focus, c.focus);
    ASSERT_EQ(view_->messages.size(), 1u);
    EXPECT_EQ(view_->messages[0], c.message);
    ExpectLabels(Expected("48.85", "2.35"));
    logic_->OnClose();
    EXPECT_EQ(FileBytes(), saved);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, BadBoxes,
    ::testing::Values(
        BadBoxCase{"12a", "2,35", kLat,
                   "Latitude \"12a\" is not a number. The place was not saved."},
        BadBoxCase{"", "2,35", kLat, "Latitude \"\" is not a number. The place was not saved."},
        // Control characters are shown, not obeyed: a NUL does not cut the message short.
        BadBoxCase{std::string("4\0\n8", 4), "2,35", kLat,
                   "Latitude \"4\u2400\u240A8\" is not a number. The place was not saved."},
        BadBoxCase{"95", "2,35", kLat,
                   "Latitude \"95\" is out of range (-90 to 90). The place was not saved."},
        BadBoxCase{"48,85", "200", kLon,
                   "Longitude \"200\" is out of range (-180 to 180). The place was not saved."},
        BadBoxCase{"48,85", "2,3,5", kLon,
                   "Longitude \"2,3,5\" is not a number. The place was not saved."}),
    kestrow::test_rows::RowName{});

TEST_F(MainWindowLogicTest, AFailedSaveTellsWhyAndKeepsTheWindowGoing) {
    // A link to a folder that cannot be made: the save cannot make it either.
    fs::create_directory_symlink("/proc/kestrow-nowhere", folder_ / "missing");
    const fs::path lostPath = folder_ / "missing" / "Kestrow.dat";
    MainWindowLogic lost(*view_, clock_, *locale_, errors_, lostPath);
    view_->Attach(lost);
    lost.OnLoad();
    lost.OnSetup();
    view_->SetBoxText(kLat, "48.85");
    view_->SetBoxText(kLon, "2.35");
    lost.OnSave();
    const std::string failure =
        "The place could not be saved to \"" + lostPath.string() + "\": No such file or directory";
    ASSERT_EQ(view_->messages, std::vector<std::string>{failure});
    EXPECT_EQ(view_->height, MainWindowLogic::kExpandedHeight);
    // The place is not kept, but the almanac is of use for it all the same.
    ExpectLabels(Expected("48.85", "2.35"));
    lost.OnMinuteTick();
    ExpectLabels(Expected("48.85", "2.35"));
    lost.OnClose();  // closing still closes, and says again that it could not save
    EXPECT_EQ(view_->messages, std::vector<std::string>(2, failure));
}

// Beyond the calendar, at start as at each tick: told once, the labels keep
// their design texts, and the place is still read, so closing keeps it.
TEST_F(MainWindowLogicTest, AClockOutsideTheCalendarIsToldOnce) {
    for (const char* bytes : {"", "\"48.85\",\"2.3", "\"48.85"}) {
        SCOPED_TRACE(bytes);
        fs::remove_all(path_);
        *bytes ? WriteFile(bytes) : (void)fs::create_directory(path_);
        Make(",");
        logic_->OnLoad();
        ASSERT_EQ(view_->messages.size(), 1u);
        EXPECT_EQ(view_->messages[0].find("\"" + path_.string() + "\" could not be read: "), 0u)
            << view_->messages[0];
        ExpectLabels(Expected(std::nullopt, std::nullopt));
        logic_->OnClose();
        EXPECT_TRUE(*bytes ? FileBytes() == bytes : fs::is_directory(path_));
        EXPECT_EQ(view_->messages.size(), 2u);
    }
}

TEST_F(MainWindowLogicTest, TheSettingsFolderIsMadeOnTheFirstSaveOnly) {
    const fs::path config = folder_ / "config";
    MainWindowLogic user(*view_, clock_, *locale_, errors_, config / "kestrow" / "Kestrow.dat");
    view_->Attach(user);
    user.OnLoad();
    EXPECT_FALSE(fs::exists(config));
    user.OnSave();
    EXPECT_TRUE(view_->messages.empty()) << view_->messages[0];
    EXPECT_TRUE(fs::is_regular_file(config / "kestrow" / "Kestrow.dat"));
    EXPECT_EQ(fs::status(config / "kestrow").permissions(), fs::perms::owner_all);
}

TEST_F(MainWindowLogicTest, AFailureIsShownOnceWhileItPersists) {
    WriteFile("\"abc\",\"2,35\",600,975\r\n");
    logic_->OnLoad();
    ASSERT_EQ(view_->messages.size(), 1u);
    EXPECT_EQ(view_->messages[0], "Latitude \"abc\" is not a number.");
    EXPECT_EQ(errors_.str(), "kestrow: Latitude \"abc\" is not a number.\n");
    for (int tick = 0; tick < 5; ++tick) logic_->OnMinuteTick();
    EXPECT_EQ(view_->messages.size(), 1u);
    // The program goes on: the place can be corrected.
    logic_->OnSetup();
    view_->SetBoxText(kLat, "48.85");
    logic_->OnSave();
    EXPECT_EQ(view_->messages.size(), 1u);
    ExpectLabels(Expected("48.85", "2.35"));
    // A failure that comes back after a good run is shown again.
    WriteFile("\"abc\",\"2,35\"\r\n");
    logic_->OnSetup();
    view_->SetBoxText(kLat, "abc");
    logic_->OnSave();  // refused, a message of its own
    EXPECT_EQ(view_->messages.size(), 2u);
}

// A folder in the file's place, and a record cut inside a coordinate: no
// part of a place is used, and closing leaves the file as it is.
TEST_F(MainWindowLogicTest, AnUnreadableFileAtStartIsReportedAndKept) {
    const std::string quoted = QuotedSettingsPath(path_);
    const std::string kept =
        "The place was not saved, so as to keep " + quoted + ", which could not be read.";
    // Too large to be read, yet a save could replace it: only the guard keeps it.
    const std::string oversize(kMaxSettingsFileBytes + 1, 'x');
    const struct {
        std::string bytes;  // empty: a folder in the file's place
        std::string why;
    } rows[] = {
        {"", "it is a folder"},
        {oversize, "it is larger than 1048576 bytes"},
        {"\"48.85\",\"2.3", ""},
        {"\"48.85", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes.substr(0, 16));
        fs::remove_all(path_);
        row.bytes.empty() ? (void)fs::create_directory(path_) : WriteFile(row.bytes);
        Make(",");
        logic_->OnLoad();
        ASSERT_EQ(view_->messages.size(), 1u);
        EXPECT_EQ(view_->messages[0].find(quoted + " could not be read: " + row.why), 0u)
            << view_->messages[0];
        ExpectLabels(Expected(std::nullopt, std::nullopt));
        logic_->OnClose();
        EXPECT_EQ(view_->messages.back(), kept);
        EXPECT_TRUE(row.bytes.empty() ? fs::is_directory(path_) : FileBytes() == row.bytes)
            << "the file was replaced";
    }
}

TEST_F(MainWindowLogicTest, TheShiftFollowsSummerTimeWithinATick) {
    WriteFile("\"48.85\",\"2.35\",600,975\r\n");
    clock_.Set(2013, 3, 31, 1, 59, 0, 1);
    logic_->OnLoad();
    EXPECT_EQ(logic_->Offset()->roundedHours, 1);
    ExpectLabels(Expected("48.85", "2.35", 1));
    clock_.Set(2013, 3, 31, 3, 0, 0, 2);  // clocks go forward
    logic_->OnMinuteTick();
    EXPECT_EQ(logic_->Offset()->roundedHours, 2);
    ExpectLabels(Expected("48.85", "2.35", 2));
}

TEST_F(MainWindowLogicTest, CaptionAndToolTipsFollowTheDate) {
    clock_.Set(2013, 1, 31, 23, 59, 30, 1);
    logic_->OnLoad();
    EXPECT_EQ(view_->caption, "Kestrow  31/01/2013");
    clock_.Set(2013, 2, 1, 0, 0, 30, 1);
    logic_->OnMinuteTick();
    EXPECT_EQ(view_->caption, "Kestrow  01/02/2013");
    EXPECT_EQ(view_->toolTips[AlmanacRow::Sunrise], "Sunrise 01/02/2013");
    EXPECT_EQ(view_->toolTips[AlmanacRow::DayLength], "length 01/02/2013");
    logic_->OnMinuteTick();
    EXPECT_EQ(view_->caption, "Kestrow  01/02/2013");
    ExpectLabels(Expected(std::nullopt, std::nullopt));
}

}  // namespace
}  // namespace kestrow
