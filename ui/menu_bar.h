// SPDX-License-Identifier: MIT
// The main window's menu bar, with the line under it drawn whole.
#pragma once

#include <QMenuBar>

namespace kestrow::ui {

class MenuBar : public QMenuBar {
    Q_OBJECT

  public:
    using QMenuBar::QMenuBar;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kestrow::ui
