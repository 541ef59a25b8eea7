// SPDX-License-Identifier: MIT
// The main window's controls as they were drawn: where each one goes, in
// twips from its container's top-left corner, what it says at first and how
// its text looks. MainWindow builds its controls from these entries; the
// functions at the end turn one entry into its Qt control.
#pragma once

#include <QRect>
#include <QStringList>

class QLabel;
class QLineEdit;
class QWidget;

namespace kestrow::ui::layout {

struct Place {
    int left, top, width, height;  // twips
};

enum class Face { Default, Heading, SmallItalic };
// The text's colour: the window's own, a fixed grey kept readable on a dark
// scheme, or the scheme's disabled-text grey.
enum class Ink { Own, DarkGrey, Grey, SchemeGrey };
enum class Align { Left, Centre };
enum class Border { None, Box };

struct LabelDesign {
    const char* name;  // the objectName
    Place place;
    const char* text;  // UTF-8
    Face face;
    Ink ink;
    Align align;
    Border border;
    // The texts the label must show whole, in at most `lines` lines: its own
    // text where none is named.
    const char* mustFit1 = nullptr;
    const char* mustFit2 = nullptr;
    int lines = 1;
};

struct BoxDesign {
    const char* name;
    Place place;
    const char* text;
    int maxLength;
    const char* toolTip;
};

inline constexpr int kClientWidth = 2835;
inline constexpr int kClientHeight = 3315;

// The almanac band, in the client area.
// clang-format off
inline constexpr LabelDesign kSunriseCaption{"Label1", {240, 0, 615, 255}, "Lever",
    Face::Heading, Ink::Own, Align::Left, Border::None};
inline constexpr LabelDesign kSunsetCaption{"Label2", {940, 0, 855, 255}, "Coucher",
    Face::Heading, Ink::Own, Align::Left, Border::None};
inline constexpr LabelDesign kDayLengthCaption{"Label3", {2040, 0, 495, 255}, "Durée",
    Face::Default, Ink::DarkGrey, Align::Centre, Border::None};
inline constexpr LabelDesign kSunrise{"Label_Lever", {120, 340, 855, 285}, "00 h 00",
    Face::Heading, Ink::Own, Align::Centre, Border::Box};
inline constexpr LabelDesign kSunset{"Label_coucher", {960, 340, 855, 285}, "00 h 00",
    Face::Heading, Ink::Own, Align::Centre, Border::Box};
inline constexpr LabelDesign kDayLength{"Label_duree", {1920, 240, 735, 320}, "00 h 00",
    Face::Default, Ink::DarkGrey, Align::Centre, Border::Box};
// Overlaps the lower 80 twips of Label_duree.
inline constexpr LabelDesign kChange{"Label4", {1920, 480, 735, 255}, "Label4",
    Face::SmallItalic, Ink::Grey, Align::Centre, Border::Box, "+ 59 s", "- 59 mn"};
inline constexpr const char* kChangeToolTip = "Ce jour/ today";

// The coordinate frame, and the controls inside it.
inline constexpr Place kFramePlace{120, 1080, 2655, 1455};
inline constexpr const char* kFrameTitle = "Degrés décimaux";
inline constexpr BoxDesign kLatitudeBox{"TextLatitude", {120, 360, 735, 285}, "00,00", 6, "Lat"};
inline constexpr BoxDesign kLongitudeBox{"TextLongitude", {960, 360, 735, 285}, "000,00", 7,
    "Long"};
inline constexpr Place kSaveButtonPlace{1920, 360, 615, 375};
// Both captions fit the longer caption, so they share a size; so do both hints.
inline constexpr LabelDesign kLatitudeCaption{"LabelLatitude", {120, 720, 735, 255}, "Latitude",
    Face::Default, Ink::Own, Align::Centre, Border::None, "Latitude", "Longitude"};
inline constexpr LabelDesign kLongitudeCaption{"Labellongitude", {960, 720, 735, 255}, "Longitude",
    Face::Default, Ink::Own, Align::Centre, Border::None, "Latitude", "Longitude"};
inline constexpr LabelDesign kSouthHint{"Label5", {120, 960, 735, 375}, "Sud = negative",
    Face::Default, Ink::SchemeGrey, Align::Centre, Border::None,
    "Sud = negative", "Ouest = negative", 2};
inline constexpr LabelDesign kWestHint{"Label6", {960, 960, 735, 375}, "Ouest = negative",
    Face::Default, Ink::SchemeGrey, Align::Centre, Border::None,
    "Sud = negative", "Ouest = negative", 2};
// clang-format on

// A place in pixels at the screen's resolution.
QRect pixels(const Place& place);

// The label of `design` in `parent`, in its face made small enough to show
// the texts it must fit whole.
QLabel* makeLabel(QWidget* parent, const LabelDesign& design);
// Writes `text` into `label`, made from `design`: in the face that fits the
// texts it must fit, or smaller where `text` itself would not show whole in
// that face ("Jour polaire" in a box drawn for "00 h 00").
void setFittedText(QLabel* label, const LabelDesign& design, const QString& text);
// The box of `design` in `parent`, holding its design text.
QLineEdit* makeBox(QWidget* parent, const BoxDesign& design);

}  // namespace kestrow::ui::layout
