// SPDX-License-Identifier: MIT
// Where the main window goes on the screen and how tall it is: the outer
// heights and places the logic asks for in twips, made good once the window
// manager's frame is known.
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "main_window.h"
#include "twips.h"

namespace kestrow::ui {

void MainWindow::SetOuterHeight(int twips) {
    const bool taller = twips > outerHeightTwips_;
    outerHeightTwips_ = twips;
    applyOuterHeight();
    if (taller) keepOnScreen();
}

void MainWindow::keepOnScreen() {
    // Grown past the bottom of the screen, the window would put its boxes and
    // its button out of reach: move it up just enough, never above the top.
    if (!isVisible() || !KnowsPosition()) return;
    const QRect available = screen()->availableGeometry();
    const QRect outer = frameGeometry();
    const int over = outer.bottom() - available.bottom();
    if (over <= 0) return;
    // Asked for as a stored place is, so that a frame that comes later does
    // not put the window back where it was.
    askedPlace_ = QPoint(outer.left(), std::max(available.top(), outer.top() - over));
    move(*askedPlace_);
}

void MainWindow::applyOuterHeight() {
    if (outerHeightTwips_ <= 0) return;
    // Title bar and borders as the window manager draws them; none before the
    // window is shown or where there is no window manager.
    const int decoration = std::max(0, frameGeometry().height() - geometry().height());
    int menu = menuBar()->heightForWidth(width());
    if (menu < 0) menu = menuBar()->sizeHint().height();
    int client = twipsToPixels(outerHeightTwips_) - decoration - menu;

    // The outer heights were chosen for one platform's title and menu bars.
    // Elsewhere keep what they are meant to show: the band alone, down to the
    // change label, or the band and the whole coordinate frame.
    const int bandBottom = change_->geometry().bottom() + 1;
    const int frameTop = placeFrame_->geometry().top();
    const int frameBottom = placeFrame_->geometry().bottom() + 1;
    const bool compact = client < frameTop + placeFrame_->height() / 2;
    if (compact) {
        client = std::clamp(client, bandBottom, frameTop);
    } else {
        client = std::max(client, frameBottom);
    }
    // Widen the limits before narrowing them, so that the window manager is
    // never told of a minimum above the maximum, which some then apply by
    // refusing the new size.
    const int height = menu + client;
    if (height > maximumHeight()) {
        setMaximumHeight(height);
        setMinimumHeight(height);
    } else {
        setMinimumHeight(height);
        setMaximumHeight(height);
    }
}

int MainWindow::Top() const { return pixelsToTwips(frameGeometry().top()); }

int MainWindow::Left() const { return pixelsToTwips(frameGeometry().left()); }

void MainWindow::Move(int top, int left) {
    askedPlace_ = QPoint(twipsToPixels(left), twipsToPixels(top));
    move(*askedPlace_);
}

void MainWindow::keepAskedPlace() {
    // Placed before it was shown, the window asks for its frame's corner, and
    // some window managers put the inner corner there instead: the window would
    // creep by its border at every start. Once the frame is known, put it right.
    if (!askedPlace_ || !isVisible() || frameGeometry() == geometry()) return;
    const QPoint asked = *askedPlace_;
    askedPlace_.reset();
    if (pos() != asked) move(asked);
}

bool MainWindow::IsPositionVisible(int top, int left) const {
    // The title bar is what the user drags the window by, so all of it must
    // be on the screens. Once the window is framed, its height is the window
    // manager's own; before that (the case at start, when the stored place is
    // applied) it is estimated from the style's title bar height.
    const int framedTitle = geometry().top() - frameGeometry().top();
    const int title =
        framedTitle > 0 ? framedTitle : style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QRect titleBar(twipsToPixels(left), twipsToPixels(top), frameGeometry().width(), title);
    QRegion available;
    for (const QScreen* screen : QGuiApplication::screens()) {
        available += screen->availableGeometry();
    }
    return QRegion(titleBar).subtracted(available).isEmpty();
}

bool MainWindow::KnowsPosition() const {
    // A Wayland compositor keeps its windows' places to itself: a program
    // reads only its own decoration's margin there, and cannot move itself.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool MainWindow::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::ScreenChangeInternal:  // another screen, or a new scale on this one
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        case QEvent::DevicePixelRatioChange:
#endif
            frameKnown_ = false;
            fitToFrame();
            break;
        case QEvent::Paint:
            // The window manager's frame is known only once the window is on
            // the screen, and framing it need not move it: until it is known,
            // look again before painting.
            if (!frameKnown_) fitToFrame();
            break;
        default:
            break;
    }
    return QMainWindow::event(event);
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fitToFrame();
}

void MainWindow::fitToFrame() {
    applyOuterHeight();
    keepAskedPlace();
    frameKnown_ = isVisible() && frameGeometry() != geometry();
}

}  // namespace kestrow::ui
