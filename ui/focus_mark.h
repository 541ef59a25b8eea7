// SPDX-License-Identifier: MIT
// A focus mark for push buttons whose look as the default button hides the
// style's own, so that a keyboard user sees where the focus is.
#pragma once

class QPushButton;

namespace kestrow::ui {

// Draws a line inside the button's edge while it has the keyboard focus, in
// its text colour, which stands out from its face as its text does.
void showFocusMark(QPushButton* button);

}  // namespace kestrow::ui
