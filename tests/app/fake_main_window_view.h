// SPDX-License-Identifier: MIT
// A window without a window system, for driving the main window's logic.
// Its boxes behave as real ones: the text is cut to the box's limit, and a
// write that changes it runs the change handler nested inside the write.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/main_window_logic.h"

namespace kestrow::testing {

class FakeMainWindowView final : public MainWindowView {
  public:
    static constexpr int kDefaultTop = 2400;
    static constexpr int kDefaultLeft = 4800;
    // Two screens of 2560 x 1440 pixels side by side, at 15 twips a pixel.
    static constexpr int kScreenWidth = 2 * 2560 * 15;
    static constexpr int kScreenHeight = 1440 * 15;
    static constexpr int kWindowWidth = 2925;
    static constexpr int kTitleBarHeight = 450;

    void Attach(MainWindowLogic& logic) { logic_ = &logic; }

    void ShowAlmanac(const AlmanacTexts& texts) override {
        almanac = texts;
        ++almanacShown;
    }
    void SetToolTip(AlmanacRow row, const std::string& text) override { toolTips[row] = text; }
    void SetCaption(const std::string& text) override { caption = text; }
    void SetOuterHeight(int twips) override { height = twips; }
    int Top() const override { return top; }
    int Left() const override { return left; }
    void Move(int newTop, int newLeft) override {
        top = newTop;
        left = newLeft;
        ++moves;
    }
    // The whole title bar on the screens.
    bool IsPositionVisible(int atTop, int atLeft) const override {
        return atLeft >= 0 && atLeft + kWindowWidth <= kScreenWidth && atTop >= 0 &&
               atTop + kTitleBarHeight <= kScreenHeight;
    }
    bool KnowsPosition() const override { return knowsPosition; }
    std::string BoxText(CoordinateBox box) const override { return boxes.at(box); }
    void SetBoxText(CoordinateBox box, const std::string& text) override {
        const std::string cut = CutToCharacters(text, box == CoordinateBox::Latitude ? 6 : 7);
        if (cut == boxes[box]) return;
        boxes[box] = cut;
        selStart[box] = Characters(cut);
        ++writes;  // a real box forgets its undo history here
        Changed(box);
    }
    int CaretPosition(CoordinateBox box) const override { return selStart.at(box); }
    void SetCaretPosition(CoordinateBox box, int position) override { selStart[box] = position; }
    void ReplaceInBox(CoordinateBox box, int position, int count,
                      const std::string& text) override {
        std::string& shown = boxes[box];
        const std::size_t from = ByteOf(shown, position);
        shown.replace(from, ByteOf(shown, position + count) - from, text);
        selStart[box] = position + Characters(text);
        ++replacements;
        Changed(box);
    }
    void SetFrameFocusable(bool on) override {
        frameFocusable = on;
        if (!on) focus.reset();
    }
    void FocusBox(CoordinateBox box) override {
        if (frameFocusable) focus = box;
    }
    void ShowAbout() override {
        aboutShown = true;
        ++aboutShows;
    }
    void UnloadAbout() override { aboutShown = false; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    void FocusAlmanac() override { almanacFocused = true; }

    // Typing inserts one character at a time at the caret (ASCII only).
    void Type(CoordinateBox box, const std::string& text) {
        for (const char c : text) {
            boxes[box].insert(ByteOf(boxes[box], selStart[box]++), 1, c);
            Changed(box);
        }
    }

    AlmanacTexts almanac;
    int almanacShown = 0;
    std::map<AlmanacRow, std::string> toolTips;
    std::string caption = "Kestrow";
    int height = 3315;
    int top = kDefaultTop;
    int left = kDefaultLeft;
    int moves = 0;
    bool knowsPosition = true;  // false: as on Wayland
    std::map<CoordinateBox, std::string> boxes{{CoordinateBox::Latitude, "00,00"},
                                               {CoordinateBox::Longitude, "000,00"}};
    std::map<CoordinateBox, int> selStart{{CoordinateBox::Latitude, 5},
                                          {CoordinateBox::Longitude, 6}};  // the caret
    int writes = 0;                                                        // whole texts written
    int replacements = 0;  // characters replaced in place
    bool almanacFocused = false;
    bool frameFocusable = true;  // as a window is built
    std::optional<CoordinateBox> focus;
    bool aboutShown = false;
    int aboutShows = 0;
    std::vector<std::string> messages;
    int depth = 0;
    int maxDepth = 0;

  private:
    void Changed(CoordinateBox box) {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (logic_ != nullptr) {
            box == CoordinateBox::Latitude ? logic_->OnLatitudeEdited()
                                           : logic_->OnLongitudeEdited();
        }
        --depth;
    }
    static int Characters(const std::string& text) {
        int count = 0;
        for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return count;
    }
    static std::size_t ByteOf(const std::string& text, int characters) {
        std::size_t i = 0;
        for (; i < text.size(); ++i) {
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters-- == 0) break;
        }
        return i;
    }
    static std::string CutToCharacters(const std::string& text, int limit) {
        int count = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == limit) {
                return text.substr(0, i);
            }
        }
        return text;
    }

    MainWindowLogic* logic_ = nullptr;
};

class FixedClock final : public Clock {
  public:
    ClockReading Read() const override { return reading; }
    // Sets the local time and a UTC clock `lead` hours behind it.
    void Set(int year, int month, int day, int hour, int minute, int second, int lead) {
        reading.local = MakeDate(static_cast<std::int16_t>(year), static_cast<std::int16_t>(month),
                                 static_cast<std::int16_t>(day)) +
                        (hour * 3600 + minute * 60 + second) / 86400.0;
        const int utc = ((hour - lead) % 24 + 24) % 24;
        reading.utcHour = utc;
        reading.utcMinute = minute;
        reading.utcSecond = second;
    }
    ClockReading reading;
};

class FixedLocale final : public UserLocale {
  public:
    explicit FixedLocale(std::string separator) : separator_(std::move(separator)) {}
    explicit FixedLocale(char separator) : FixedLocale(std::string(1, separator)) {}
    std::string NumberText(double) const override { return std::string("0") + separator_ + "5"; }
    std::string ShortDate(int year, int month, int day) const override {
        char text[32];
        std::snprintf(text, sizeof text, "%02d/%02d/%04d", day, month, year);
        return text;
    }

  private:
    std::string separator_;
};

}  // namespace kestrow::testing
