// SPDX-License-Identifier: MIT
#include "click_area.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace kestrow::ui {

ClickArea::ClickArea(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
}

void ClickArea::makeLink(const QString& name) {
    link_ = true;
    // Tab only: a click opens the link at once, and the focus stays in the
    // control the user was in rather than moving to a link already followed.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(name);
}

void ClickArea::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved();
    event->accept();
}

void ClickArea::mousePressEvent(QMouseEvent* event) { event->accept(); }

void ClickArea::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    // A press dragged off the area and released elsewhere is no click.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void ClickArea::keyPressEvent(QKeyEvent* event) {
    const bool press = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                       event->key() == Qt::Key_Space;
    if (link_ && press && !event->isAutoRepeat()) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickArea::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    // Some styles draw the mark only after a Tab; a link takes no other focus
    // from the user, and one given by a screen reader deserves the mark too.
    option.state |= QStyle::State_KeyboardFocusChange;
    option.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace kestrow::ui
