// SPDX-License-Identifier: MIT
#include "menu_bar.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace kestrow::ui {

void MenuBar::paintEvent(QPaintEvent* event) {
    QMenuBar::paintEvent(event);
    // The style draws the line under the bar piece by piece, clipped to each
    // entry and to the space beside them; at a fractional scale the pieces'
    // edges fall between device pixels and leave gaps. Draw it again in one
    // piece, as the style draws it, over the bar's two bottom rows, which the
    // line straddles at such a scale and the entries' texts never reach.
    const QRect bottom(0, height() - 2, width(), 2);
    if (!event->rect().intersects(bottom)) return;
    QPainter painter(this);
    painter.setClipRect(bottom);
    QStyleOptionMenuItem option;
    option.initFrom(this);
    option.state = QStyle::State_None;
    option.menuItemType = QStyleOptionMenuItem::EmptyArea;
    option.checkType = QStyleOptionMenuItem::NotCheckable;
    option.rect = rect();
    option.menuRect = rect();
    style()->drawControl(QStyle::CE_MenuBarEmptyArea, &option, &painter, this);
}

}  // namespace kestrow::ui
