// SPDX-License-Identifier: MIT
// Undo and redo in a coordinate box whose typed points are replaced by the
// locale's mark.
#pragma once

#include <functional>

class QLineEdit;

namespace kestrow::ui {

// Makes the box's undo and redo keys pass over the step between a typed
// point and the mark that replaced it, which holds the point, while
// `marksReplaced` says that points are being replaced.
void skipReplacedPoints(QLineEdit* box, std::function<bool()> marksReplaced);

}  // namespace kestrow::ui
