// SPDX-License-Identifier: MIT
// A desktop session that ends sends its programs SIGTERM (a closed terminal,
// SIGHUP). Left to the default action, the program would end at once and
// lose a place typed but not saved, which closing the window keeps.
#pragma once

class QWidget;

namespace kestrow::ui {

// From now on SIGTERM and SIGHUP close `window` as its close box does; one
// that comes when the window is already closed ends the event loop.
void closeOnTermination(QWidget& window);

}  // namespace kestrow::ui
