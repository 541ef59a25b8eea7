// SPDX-License-Identifier: MIT
#include "main_window_logic.h"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <utility>

#include "almanac/errors.h"
#include "app/box_repair.h"
#include "app/settings_location.h"
#include "app/visible_text.h"

namespace kestrow {
namespace {

// Characters of a UTF-8 text: the caret counts characters, not bytes.
int CharacterCount(const std::string& text) {
    int count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

}  // namespace

MainWindowLogic::MainWindowLogic(MainWindowView& view, const Clock& clock, const UserLocale& locale,
                                 std::ostream& errors, std::filesystem::path settingsPath,
                                 bool localTime, AlmanacMethod method)
    : view_(view),
      clock_(clock),
      locale_(locale),
      errors_(errors),
      settingsPath_(std::move(settingsPath)),
      localTime_(localTime),
      method_(method) {}

void MainWindowLogic::OnLoad() {
    // A clock outside the calendar fails here as it would at each tick; the
    // place must still be read, or closing would write the design texts over it.
    Guarded([this] { WriteDateTexts(ReadToday(clock_.Read())); });
    // Must be known before the boxes are filled: their handlers use it.
    decimalSeparator_ = DecimalSeparatorOf(locale_);
    zeroDigit_ = ZeroDigitOf(locale_);
    Guarded([this] { LoadSettings(); });
    if (firstStart_) OnSetup();
}

void MainWindowLogic::LoadSettings() {
    view_.SetOuterHeight(kCompactHeight);
    setupTexts_.reset();
    // The frame is clipped out of the compact window: keys typed into a box
    // there would change the place unseen, and closing would save them.
    view_.SetFrameFocusable(false);
    try {
        ReadSettings();
    } catch (const SettingsOpenError& e) {
        // A missing file is the first start. One that is there but cannot be
        // read may still hold the user's place: say so, and keep it.
        if (!e.missing()) {
            keepUnreadFile_ = true;
            Tell(e.what());
        } else if (guessFirstPlace_) {
            ShowFirstPlace();
        }
    } catch (const SettingsReadError&) {
        // What was read before the failure stays; the rest is passed over.
    }
    Recompute(clock_.Read());
}

void MainWindowLogic::ReadSettings() {
    std::istringstream in = OpenSettingsForReading(settingsPath_);
    SettingsReader reader(in);
    const SettingsFields before = fields_;
    try {
        while (!reader.AtEnd()) reader.ReadRecord(fields_);
    } catch (const SettingsReadError& e) {
        // Part of a place is no place: nothing is computed from it, and the
        // file is kept as it is, as one that cannot be read at all.
        if (reader.PlaceCutShort()) {
            fields_ = before;
            std::string why = e.what();
            why[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(why[0])));
            throw SettingsOpenError(
                QuotedSettingsPath(settingsPath_) + " could not be read: " + why, false);
        }
        if (reader.FieldsStored() >= 4) positionRead_ = true;
        // A record cut short after the two coordinates (as a save leaves it)
        // still names the place: show it, so that closing does not write the
        // boxes' design texts over it.
        if (reader.FieldsStored() >= 2) ShowPlaceInBoxes();
        throw;
    }
    if (reader.FieldsStored() >= 4) positionRead_ = true;
    // A position off every screen (a monitor since removed) would hide the window.
    if (view_.KnowsPosition() && view_.IsPositionVisible(fields_.top, fields_.left)) {
        view_.Move(fields_.top, fields_.left);
    }
    ShowPlaceInBoxes();
}

void MainWindowLogic::ShowPlaceInBoxes() {
    // Shown with this locale's mark already, so that no repair of the marks
    // lands in the boxes' undo history.
    view_.SetBoxText(CoordinateBox::Latitude,
                     ReplaceMarks(fields_.latitude.value_or(""), ".", decimalSeparator_));
    view_.SetBoxText(CoordinateBox::Longitude,
                     ReplaceMarks(fields_.longitude.value_or(""), ".", decimalSeparator_));
}

void MainWindowLogic::ShowFirstPlace() {
    // Asked at most once: every later load follows a save, which leaves a file.
    const std::optional<ZonePlace> guess = std::exchange(guessFirstPlace_, nullptr)();
    firstStart_ = true;
    if (!guess) return;  // the design texts, with Setup shown all the same
    // The almanac shows the place offered, which closing would keep as well.
    fields_.latitude = DegreesText(guess->latitude);
    fields_.longitude = DegreesText(guess->longitude);
    ShowPlaceInBoxes();
}

void MainWindowLogic::Recompute(const ClockReading& reading) {
    offset_ = ComputeUtcOffset(reading);
    const CalendarDay today = ReadToday(reading);
    if (!datedFor_ || datedFor_->day != today.day || datedFor_->month != today.month ||
        datedFor_->year != today.year) {
        WriteDateTexts(today);
    }
    // The date comes from a reading of the calendar; the latitude, then the
    // longitude, are read once for the whole computation.
    DayRequest request{ReadPlace(fields_.latitude, fields_.longitude, decimalSeparator_),
                       today,
                       {DesignClockFor(offset_->roundedHours), localTime_ ? &clock_ : nullptr},
                       method_};
    // The almanac's date is the local date on either clock.
    const DayEvents events = ComputeDay(request);
    request.date = DayBefore(today);
    view_.ShowAlmanac(FormatDay(events, ComputeDay(request).length, request.clock, method_));
    lastFailure_.clear();
}

void MainWindowLogic::WriteDateTexts(const CalendarDay& today) {
    const std::string date = locale_.ShortDate(today.year, today.month, today.day);
    view_.SetToolTip(AlmanacRow::Sunrise, "Sunrise " + date);
    view_.SetToolTip(AlmanacRow::Sunset, "Sunset " + date);
    view_.SetToolTip(AlmanacRow::DayLength, "length " + date);
    view_.SetCaption("Kestrow  " + date);
    datedFor_ = today;
}

void MainWindowLogic::OnMinuteTick() {
    // The offset is read again at every tick so that a change to or from
    // summer time shows within a minute.
    Guarded([this] { Recompute(clock_.Read()); });
}

void MainWindowLogic::OnSetup() {
    // Setup again keeps the texts that Escape goes back to.
    if (!setupTexts_) {
        setupTexts_.emplace(view_.BoxText(CoordinateBox::Latitude),
                            view_.BoxText(CoordinateBox::Longitude));
    }
    view_.SetOuterHeight(kExpandedHeight);
    view_.SetFrameFocusable(true);
    view_.FocusBox(CoordinateBox::Latitude);
}

void MainWindowLogic::OnEscape() {
    if (!setupTexts_) return;
    const auto [latitude, longitude] = *std::exchange(setupTexts_, std::nullopt);
    view_.SetBoxText(CoordinateBox::Latitude, latitude);
    view_.SetBoxText(CoordinateBox::Longitude, longitude);
    view_.SetOuterHeight(kCompactHeight);
    view_.SetFrameFocusable(false);
}

void MainWindowLogic::OnAbout() { view_.ShowAbout(); }

void MainWindowLogic::OnSave() {
    if (!BoxesHoldAPlace()) return;
    try {
        SaveSettings(settingsPath_, ShortRecord(StoredBoxText(CoordinateBox::Latitude),
                                                StoredBoxText(CoordinateBox::Longitude)));
    } catch (const SettingsSaveError& e) {
        Tell(e.what());
        // The place is not kept, but the almanac is still of use for it.
        fields_.latitude = view_.BoxText(CoordinateBox::Latitude);
        fields_.longitude = view_.BoxText(CoordinateBox::Longitude);
        Guarded([this] { Recompute(clock_.Read()); });
        return;
    }
    keepUnreadFile_ = false;
    Guarded([this] { LoadSettings(); });
    // The frame is out of view now: a screen reader hears the new times.
    view_.FocusAlmanac();
}

void MainWindowLogic::OnClose() {
    view_.UnloadAbout();
    if (keepUnreadFile_) {
        Tell("The place was not saved, so as to keep " + QuotedSettingsPath(settingsPath_) +
             ", which could not be read.");
        return;
    }
    if (!BoxesHoldAPlace()) return;
    try {
        SaveSettings(settingsPath_, ClosingRecord());
    } catch (const SettingsSaveError& e) {
        Tell(e.what());
    }
}

std::string MainWindowLogic::ClosingRecord() const {
    const std::string latitude = StoredBoxText(CoordinateBox::Latitude);
    const std::string longitude = StoredBoxText(CoordinateBox::Longitude);
    if (view_.KnowsPosition()) {
        return FullRecord(latitude, longitude, static_cast<float>(view_.Top()),
                          static_cast<float>(view_.Left()));
    }
    // A position made up here would put the window somewhere else at the next
    // start, perhaps under another window system: keep the one read, if any.
    if (positionRead_) {
        return FullRecord(latitude, longitude, static_cast<float>(fields_.top),
                          static_cast<float>(fields_.left));
    }
    return ShortRecord(latitude, longitude);
}

void MainWindowLogic::OnLatitudeEdited() { RepairDecimalMarks(CoordinateBox::Latitude); }

void MainWindowLogic::OnLongitudeEdited() { RepairDecimalMarks(CoordinateBox::Longitude); }

void MainWindowLogic::RepairDecimalMarks(CoordinateBox box) {
    // A point typed or pasted under a comma locale becomes a comma, and a
    // digit typed on a Persian or Arabic keyboard its ASCII digit. Only those
    // characters are replaced, each in place, so that the box's undo history
    // holds what the user did and the caret stays where the user put it: one
    // just after a point ends up just after its mark. Other boxes are left alone.
    if (repairing_) return;
    std::string text = view_.BoxText(box);
    std::optional<BoxRepair> repair = NextBoxRepair(text, decimalSeparator_, zeroDigit_);
    if (!repair) return;
    repairing_ = true;
    int caret = view_.CaretPosition(box);
    while (repair) {
        const int position = CharacterCount(text.substr(0, repair->at));
        view_.ReplaceInBox(box, position, 1, repair->with);
        if (position < caret) caret += CharacterCount(repair->with) - 1;
        text = view_.BoxText(box);
        const std::optional<BoxRepair> next = NextBoxRepair(text, decimalSeparator_, zeroDigit_);
        // A box that took no replacement: stop rather than try the same one again.
        if (next && next->at == repair->at) break;
        repair = next;
    }
    view_.SetCaretPosition(box, std::min(caret, CharacterCount(text)));
    repairing_ = false;
}

std::string MainWindowLogic::StoredBoxText(CoordinateBox box) const {
    return StorableCoordinate(view_.BoxText(box), decimalSeparator_);
}

bool MainWindowLogic::BoxesHoldAPlace() {
    for (const CoordinateBox box : {CoordinateBox::Latitude, CoordinateBox::Longitude}) {
        const Axis axis = box == CoordinateBox::Latitude ? Axis::Latitude : Axis::Longitude;
        try {
            // A NUL, never part of a number, would cut the message short: it
            // is checked as its visible sign, which fails the same way.
            ParseCoordinate(ReplaceMarks(view_.BoxText(box), std::string_view("\0", 1), "\u2400"),
                            axis, decimalSeparator_);
        } catch (const CoordinateError& e) {
            Tell(Capitalised(e.what()) + ". The place was not saved.");
            view_.FocusBox(box);
            return false;
        }
    }
    return true;
}

template <typename Work>
void MainWindowLogic::Guarded(Work&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        ReportFailure(e.what());
    }
}

void MainWindowLogic::ReportFailure(const std::string& message) {
    // A failure that persists (a place in the file that is not a number) would
    // otherwise come back at every tick.
    if (message == lastFailure_) return;
    lastFailure_ = message;
    Tell(Capitalised(message) + ".");
}

void MainWindowLogic::Tell(const std::string& message) {
    // A typed text or a path may hold control characters: a NUL would cut
    // the message short, a line end would forge another line.
    const std::string shown = WithVisibleControls(message);
    errors_ << "kestrow: " << shown << '\n' << std::flush;
    view_.ShowMessage(shown);
}

}  // namespace kestrow
