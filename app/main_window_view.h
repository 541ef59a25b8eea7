// SPDX-License-Identifier: MIT
// What the main window's logic asks of the window itself.
//
// Sizes and places are in twips (1440 to the inch). Writing a box's text
// must behave as a real one-line box does: the text is cut to the box's
// maximum length, and when it differs from the old text the box's change
// handler (MainWindowLogic::OnLatitudeEdited / OnLongitudeEdited) runs nested
// inside the write, before SetBoxText returns; an identical text raises nothing.
#pragma once

#include <string>

#include "almanac_display.h"

namespace kestrow {

enum class CoordinateBox { Latitude, Longitude };

// The rows of the almanac that carry the date in their hover texts, on the
// caption and the value alike.
enum class AlmanacRow { Sunrise, Sunset, DayLength };

class MainWindowView {
  public:
    virtual ~MainWindowView() = default;
    // The four texts of one computation, all at once.
    virtual void ShowAlmanac(const AlmanacTexts& texts) = 0;
    virtual void SetToolTip(AlmanacRow row, const std::string& text) = 0;
    virtual void SetCaption(const std::string& caption) = 0;

    // Outer height, title bar, menu bar and borders included.
    virtual void SetOuterHeight(int twips) = 0;
    // The window's outer top-left corner.
    virtual int Top() const = 0;
    virtual int Left() const = 0;
    virtual void Move(int top, int left) = 0;
    // Whether a window with its top-left corner there would show its whole
    // title bar on a screen, so that it can still be dragged.
    virtual bool IsPositionVisible(int top, int left) const = 0;
    // Whether the window system tells a program where its window is. Where it
    // does not (Wayland), it does not let the program place it either, and
    // Top and Left mean nothing.
    virtual bool KnowsPosition() const = 0;

    virtual std::string BoxText(CoordinateBox box) const = 0;
    virtual void SetBoxText(CoordinateBox box, const std::string& text) = 0;
    // The caret in characters from the start, as the user left it.
    virtual int CaretPosition(CoordinateBox box) const = 0;
    virtual void SetCaretPosition(CoordinateBox box, int position) = 0;
    // Replaces `count` characters from `position` as the user's own editing
    // would: the box keeps its undo history, and the change handler runs
    // nested inside, as for SetBoxText.
    virtual void ReplaceInBox(CoordinateBox box, int position, int count,
                              const std::string& text) = 0;
    // Whether the controls of the coordinate frame take the keyboard focus and
    // are offered to screen readers. Turning it off also takes the focus out
    // of the frame.
    virtual void SetFrameFocusable(bool focusable) = 0;
    // Focuses the box with its whole text selected, so that typing replaces
    // it. Does nothing while the frame takes no focus.
    virtual void FocusBox(CoordinateBox box) = 0;
    // Puts the keyboard focus where a screen reader reads today's almanac.
    virtual void FocusAlmanac() = 0;

    virtual void ShowAbout() = 0;
    virtual void UnloadAbout() = 0;

    // A message to the user that does not block the window.
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace kestrow
