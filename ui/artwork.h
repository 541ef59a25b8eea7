// The program's pictures, compiled into it. Each is loaded when first asked
// for, so the About window's pictures cost nothing until it is opened.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace kestrow::ui {

QIcon SunIcon();           // 16 x 16 to 64 x 64, both windows' icon
QPixmap Photograph();      // 100 x 67
QPixmap Banner();          // 150 x 35
QPixmap MailIcon();        // 32 x 32, 16 colours
QPixmap DonationButton();  // 57 x 25
// The hand pointer over the About window's links; hot spot at the fingertip.
QCursor HandCursor();

}  // namespace kestrow::ui
