// SPDX-License-Identifier: MIT
#include "form1.h"

#include <ostream>
#include <utility>

#include "almanac/errors.h"
#include "app/settings_location.h"

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
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

}  // namespace

// Hands the four almanac texts to their labels.
class Form1::LabelSink final : public AlmanacSink {
public:
    explicit LabelSink(Form1View& view) : view_(view) {}
    void SetAlmanacText(AlmanacLabel label, const std::string& text) override {
        switch (label) {
            case AlmanacLabel::Sunrise: view_.SetLabelText(Form1Label::Lever, text); break;
            case AlmanacLabel::Sunset: view_.SetLabelText(Form1Label::Coucher, text); break;
            case AlmanacLabel::Length: view_.SetLabelText(Form1Label::Duree, text); break;
            case AlmanacLabel::Change: view_.SetLabelText(Form1Label::Label4, text); break;
        }
    }

private:
    Form1View& view_;
};

Form1::Form1(Form1View& view, const Clock& clock, const UserLocale& locale, std::ostream& errors,
             std::filesystem::path settingsPath)
    : view_(view),
      clock_(clock),
      locale_(locale),
      errors_(errors),
      settingsPath_(std::move(settingsPath)) {}

void Form1::Form_Load() {
    // A clock outside the calendar fails here as it would at each tick; the
    // place must still be read, or closing would write the design texts over it.
    Guarded([this] { WriteDateTexts(ReadToday(clock_.Read())); });
    // Must be known before the boxes are filled: their handlers use it.
    decimalSep_ = DecimalSeparatorOf(locale_);
    Guarded([this] { LoadSettings(); });
}

void Form1::LoadSettings() {
    view_.SetOuterHeight(kCompactHeight);
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
        }
    } catch (const SettingsReadError&) {
        // What was read before the failure stays; the rest is passed over.
    }
    Recompute(clock_.Read());
}

void Form1::ReadSettings() {
    std::istringstream in = OpenSettingsForReading(settingsPath_);
    SettingsReader reader(in);
    try {
        while (!reader.AtEnd()) reader.ReadRecord(fields_);
    } catch (const SettingsReadError&) {
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

void Form1::ShowPlaceInBoxes() {
    view_.SetBoxText(Form1Box::Latitude, fields_.latitude.value_or(""));
    view_.SetBoxText(Form1Box::Longitude, fields_.longitude.value_or(""));
}

void Form1::Recompute(const ClockReading& reading) {
    offset_ = ComputeUtcOffset(reading);
    const CalendarDay today = ReadToday(reading);
    if (!datedFor_ || datedFor_->day != today.day || datedFor_->month != today.month ||
        datedFor_->year != today.year) {
        WriteDateTexts(today);
    }
    LabelSink sink(view_);
    times_ = ShowAlmanac({fields_.latitude, fields_.longitude, decimalSep_}, today,
                         offset_->tu, sink);
    lastFailure_.clear();
}

void Form1::WriteDateTexts(const CalendarDay& today) {
    const std::string date = locale_.ShortDate(today.year, today.month, today.day);
    view_.SetToolTip(Form1Label::Lever, "Sunrise " + date);
    view_.SetToolTip(Form1Label::Label1, "Sunrise " + date);
    view_.SetToolTip(Form1Label::Coucher, "Sunset " + date);
    view_.SetToolTip(Form1Label::Label2, "Sunset " + date);
    view_.SetToolTip(Form1Label::Duree, "length " + date);
    view_.SetToolTip(Form1Label::Label3, "length " + date);
    view_.SetCaption("Kestrow  " + date);
    datedFor_ = today;
}

void Form1::Timer1_Timer() {
    // The offset is read again at every tick so that a change to or from
    // summer time shows within a minute.
    Guarded([this] { Recompute(clock_.Read()); });
}

void Form1::Setup_Click() {
    view_.SetOuterHeight(kExpandedHeight);
    view_.SetFrameFocusable(true);
    view_.FocusBox(Form1Box::Latitude);
}

void Form1::pointIntero_Click() { view_.ShowAbout(); }

void Form1::CommandSauve_Click() {
    if (!BoxesHoldAPlace()) return;
    try {
        MakeSettingsFolder(settingsPath_);
        SaveSettingsFile(settingsPath_,
                         ShortRecord(StoredBoxText(Form1Box::Latitude),
                                     StoredBoxText(Form1Box::Longitude)));
    } catch (const SettingsSaveError& e) {
        Tell(e.what());
        // The place is not kept, but the almanac is still of use for it.
        fields_.latitude = view_.BoxText(Form1Box::Latitude);
        fields_.longitude = view_.BoxText(Form1Box::Longitude);
        Guarded([this] { Recompute(clock_.Read()); });
        return;
    }
    keepUnreadFile_ = false;
    Guarded([this] { LoadSettings(); });
}

void Form1::Form_Unload() {
    view_.UnloadAbout();
    if (keepUnreadFile_) {
        Tell("The place was not saved, so as to keep " + QuotedSettingsPath(settingsPath_) +
             ", which could not be read.");
        return;
    }
    if (!BoxesHoldAPlace()) return;
    try {
        MakeSettingsFolder(settingsPath_);
        SaveSettingsFile(settingsPath_, ClosingRecord());
    } catch (const SettingsSaveError& e) {
        Tell(e.what());
    }
}

std::string Form1::ClosingRecord() const {
    const std::string latitude = StoredBoxText(Form1Box::Latitude);
    const std::string longitude = StoredBoxText(Form1Box::Longitude);
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

void Form1::TextLatitude_Change() { RepairDecimalMarks(Form1Box::Latitude); }

void Form1::TextLongitude_Change() { RepairDecimalMarks(Form1Box::Longitude); }

void Form1::RepairDecimalMarks(Form1Box box) {
    // A point typed under a comma locale becomes a comma. The write re-enters
    // this handler once, which finds nothing left to replace.
    view_.SetBoxText(box, ReplaceMarks(view_.BoxText(box), ".", decimalSep_));
    view_.SetSelStart(box, CharacterCount(view_.BoxText(box)));
}

std::string Form1::StoredBoxText(Form1Box box) const {
    return StorableCoordinate(view_.BoxText(box), decimalSep_);
}

bool Form1::BoxesHoldAPlace() {
    for (const Form1Box box : {Form1Box::Latitude, Form1Box::Longitude}) {
        const Axis axis = box == Form1Box::Latitude ? Axis::Latitude : Axis::Longitude;
        try {
            ParseCoordinate(view_.BoxText(box), axis, decimalSep_);
        } catch (const CoordinateError& e) {
            Tell(Capitalised(e.what()) + ". The place was not saved.");
            view_.FocusBox(box);
            return false;
        }
    }
    return true;
}

template <typename Work>
void Form1::Guarded(Work&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        ReportFailure(e.what());
    }
}

void Form1::ReportFailure(const std::string& message) {
    // A failure that persists (a place in the file that is not a number) would
    // otherwise come back at every tick.
    if (message == lastFailure_) return;
    lastFailure_ = message;
    Tell(Capitalised(message) + ".");
}

void Form1::Tell(const std::string& message) {
    errors_ << "kestrow: " << message << '\n' << std::flush;
    view_.ShowMessage(message);
}

}  // namespace kestrow
