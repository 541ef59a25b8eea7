// SPDX-License-Identifier: MIT
// How the program's own kinds of control present themselves to screen
// readers, where the toolkit's defaults would not say what they are.
#pragma once

namespace kestrow::ui {

// Installs the program's accessibility factory; calling it again does nothing.
// It costs nothing until a screen reader asks for the controls.
void installAccessibility();

}  // namespace kestrow::ui
