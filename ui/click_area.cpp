#include "click_area.h"

#include <QMouseEvent>

namespace kestrow::ui {

ClickArea::ClickArea(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
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

}  // namespace kestrow::ui
