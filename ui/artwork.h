// SPDX-License-Identifier: MIT
// The program's pictures, compiled into it. Each is loaded when first asked
// for, so the About window's pictures cost nothing until it is opened. Those
// are drawn from vector sources at the screen's device pixel ratio, so that
// they stay sharp on a scaled screen while keeping their sizes in the layout.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace kestrow::ui {

QIcon sunIcon();  // 16 x 16 to 64 x 64, both windows' icon
// Sizes in device-independent pixels.
QPixmap photograph(QSize size, qreal devicePixelRatio);   // its frame's inside, 103 x 71 at 96 DPI
QPixmap banner(qreal devicePixelRatio);                   // 150 x 35
QPixmap mailIcon(qreal devicePixelRatio, int size = 32);  // 32 x 32, or 16 x 16
QPixmap donationButton(qreal devicePixelRatio);           // 57 x 25
// The hand pointer over the About window's links; hot spot at the fingertip.
QCursor handCursor();

}  // namespace kestrow::ui
