// SPDX-License-Identifier: MIT
// The main window's logic: start-up, the minute timer, the menu entries, the
// save button, closing, and the repair of decimal marks in the two boxes.
// It runs against MainWindowView, so all of it can be driven without a window system.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "almanac_display.h"
#include "clock.h"
#include "coordinate.h"
#include "day_almanac.h"
#include "main_window_view.h"
#include "settings_file.h"
#include "user_locale.h"
#include "utc_offset.h"
#include "zone_table.h"

namespace kestrow {

class MainWindowLogic {
  public:
    static constexpr int kCompactHeight = 1450;   // twips: the almanac band only
    static constexpr int kExpandedHeight = 3330;  // twips: the coordinate frame too
    static constexpr int kTimerIntervalMs = 60000;

    // `settingsPath` is opened afresh at every read and save, so a relative
    // name lies in the working folder of that moment. Failures that no
    // handler catches are shown through the view and written to `errors`.
    // With `localTime`, sunrise and sunset are shown on the clock's own zone
    // (Clock::UtcOffsetAt) instead of UT plus one or two hours. `method`
    // computes the almanac and writes its texts.
    MainWindowLogic(MainWindowView& view, const Clock& clock, const UserLocale& locale,
                    std::ostream& errors,
                    std::filesystem::path settingsPath = std::filesystem::path(kSettingsFileName),
                    bool localTime = false, AlmanacMethod method = AlmanacMethod::Design);

    // Where there is no settings file yet at load, asks `guess` for a place
    // to offer (the time zone's city), and opens with Setup shown so that
    // the user confirms or corrects it. Set before OnLoad; never asked otherwise.
    void OfferFirstPlace(std::function<std::optional<ZonePlace>()> guess) {
        guessFirstPlace_ = std::move(guess);
    }

    // Event handlers, each run to completion.
    void OnLoad();
    void OnMinuteTick();
    void OnSetup();
    // Escape: with the frame shown, the boxes as they were when Setup was
    // chosen and the window compact again; otherwise nothing.
    void OnEscape();
    void OnAbout();
    void OnSave();
    void OnClose();
    void OnLatitudeEdited();
    void OnLongitudeEdited();

    // Window state, for the window and for tests.
    const Coordinate& Latitude() const { return fields_.latitude; }
    const Coordinate& Longitude() const { return fields_.longitude; }
    std::int32_t WindowTop() const { return fields_.top; }
    std::int32_t WindowLeft() const { return fields_.left; }
    const std::string& DecimalSeparator() const { return decimalSeparator_; }
    char32_t ZeroDigit() const { return zeroDigit_; }
    bool SetupShown() const { return setupTexts_.has_value(); }
    const std::optional<UtcOffset>& Offset() const { return offset_; }

  private:
    void LoadSettings();
    void ReadSettings();
    // Each write runs that box's change handler before the next.
    void ShowPlaceInBoxes();
    // The guessed place in the boxes, and Setup to be shown.
    void ShowFirstPlace();
    void Recompute(const ClockReading& reading);
    void WriteDateTexts(const CalendarDay& today);
    void RepairDecimalMarks(CoordinateBox box);
    // Runs one handler's work; a failure it does not catch is reported once.
    template <typename Work>
    void Guarded(Work&& work);
    void ReportFailure(const std::string& message);
    void Tell(const std::string& message);
    // A box's text as the settings file keeps it.
    std::string StoredBoxText(CoordinateBox box) const;
    // Checks both boxes; on failure tells the user, focuses the box and returns false.
    bool BoxesHoldAPlace();
    // What closing writes: the window's position only where it is known.
    std::string ClosingRecord() const;

    MainWindowView& view_;
    const Clock& clock_;
    const UserLocale& locale_;
    std::ostream& errors_;
    std::filesystem::path settingsPath_;
    bool localTime_ = false;
    AlmanacMethod method_ = AlmanacMethod::Design;

    SettingsFields fields_;
    std::string decimalSeparator_ = ".";
    char32_t zeroDigit_ = U'0';  // of the locale's own digits
    std::function<std::optional<ZonePlace>()> guessFirstPlace_;
    bool firstStart_ = false;  // offered a place at load: Setup is shown
    // The boxes' texts when Setup was chosen, while the frame shows.
    std::optional<std::pair<std::string, std::string>> setupTexts_;
    std::optional<UtcOffset> offset_;
    std::optional<CalendarDay> datedFor_;  // the day the caption and tooltips show
    std::string lastFailure_;              // shown already; not shown again while it persists
    // Set when the file exists but could not be read at start: closing must
    // then not replace the place it may still hold.
    bool keepUnreadFile_ = false;
    bool positionRead_ = false;  // a top and a left came from the file
    bool repairing_ = false;     // a box's marks are being replaced: its edits are our own
};

}  // namespace kestrow
