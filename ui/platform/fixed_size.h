// SPDX-License-Identifier: MIT
// Both windows have a fixed size and a title bar with a close box alone.
#pragma once

class QWidget;

namespace kestrow::ui {

// Keeps `window`, whose minimum and maximum sizes are equal, at that size.
// On X11 its Motif hints tell the window manager that it may be moved and
// closed, but neither resized, minimised nor maximised (Qt's own hints allow
// resizing). Where a title bar offers a maximise button anyway, as Qt's own
// Wayland decoration does whatever the window asks for, a maximised or full
// screen window is put back to its normal state.
void keepFixedSize(QWidget* window);

}  // namespace kestrow::ui
