// SPDX-License-Identifier: MIT
// How the program's own kinds of control present themselves to screen
// readers, where the toolkit's defaults would not say what they are.
#pragma once

class QWidget;

namespace kestrow::ui {

// Installs the program's accessibility factory; calling it again does nothing.
// It costs nothing until a screen reader asks for the controls.
void installAccessibility();

// Offers `area` and the controls in it (labels, boxes, push buttons, frames)
// to screen readers only while they lie within their window: clipped out of
// it, they are neither visible nor showing, and take no action or text
// through assistive technology. Call before anything asks for them.
void offerOnlyInView(QWidget* area);

// Tells screen readers that such an area and its controls came into view or
// went out of it.
void announceInView(QWidget* area, bool inView);

}  // namespace kestrow::ui
