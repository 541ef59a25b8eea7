// SPDX-License-Identifier: MIT
// Undo and redo in a coordinate box whose typed points are replaced by the
// locale's mark, and its typed native digits by ASCII ones.
#pragma once

#include <functional>

class QLineEdit;
class QString;

namespace kestrow::ui {

// Makes the box's undo and redo keys pass over the step between a typed
// character and the one that replaced it: the steps whose text
// `awaitsRepair` says would be repaired.
void skipReplacedPoints(QLineEdit* box, std::function<bool(const QString&)> awaitsRepair);

}  // namespace kestrow::ui
