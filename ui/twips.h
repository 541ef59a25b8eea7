// SPDX-License-Identifier: MIT
// Places and sizes are kept in twips, 1440 to the inch, as the layout was
// drawn; the screen's logical DPI turns them into pixels (15 twips to a pixel
// at 96 DPI), so the windows keep their proportions on any screen.
#pragma once

#include <QRect>

namespace kestrow::ui {

// The one conversion every place and size goes through.
int twipsToPixels(int twips);
int pixelsToTwips(int pixels);

// A control's place from its container's top-left corner, all in twips.
QRect twipsRect(int left, int top, int width, int height);

}  // namespace kestrow::ui
