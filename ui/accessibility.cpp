// SPDX-License-Identifier: MIT
#include "accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "click_area.h"

namespace kestrow::ui {
namespace {

// A link area: a link with a press action that does what a click does.
class AccessibleLink final : public QAccessibleWidget {
  public:
    explicit AccessibleLink(ClickArea* area) : QAccessibleWidget(area, QAccessible::Link) {}

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == pressAction()) {
            static_cast<ClickArea*>(widget())->activate();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction()) return {QStringLiteral("Return"), QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(name);
    }
};

const char* const kInViewOnly = "kestrowInViewOnly";

// Whether no part of the widget lies within its window, clipped away by the
// parents it sits in.
bool clippedOut(const QWidget* widget) {
    QRect shown = widget->rect();
    for (const QWidget* w = widget; !w->isWindow() && w->parentWidget() != nullptr;
         w = w->parentWidget()) {
        shown.translate(w->pos());
        shown &= w->parentWidget()->rect();
    }
    return shown.isEmpty();
}

// A control that is offered only while in view; otherwise as the toolkit
// offers its kind.
class InViewOnly final : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public QAccessibleEditableTextInterface {
  public:
    InViewOnly(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (edit() != nullptr && type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (edit() != nullptr && type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (clippedOut(widget())) state.invisible = state.offscreen = true;
        if (const auto* button = qobject_cast<const QPushButton*>(widget())) {
            state.defaultButton = button->isDefault();
            state.pressed = button->isDown();
        }
        if (const QLineEdit* box = edit()) {
            state.editable = !box->isReadOnly();
            state.readOnly = box->isReadOnly();
            state.selectableText = true;
        }
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value && edit() != nullptr) return edit()->text();
        // Named by what they show, not by the frame they sit in.
        if (kind != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(kind);
        if (const auto* label = qobject_cast<const QLabel*>(widget())) return label->text();
        if (const auto* button = qobject_cast<const QPushButton*>(widget()))
            return button->text().remove(QLatin1Char('&'));
        if (const auto* frame = qobject_cast<const QGroupBox*>(widget()))
            return frame->title().remove(QLatin1Char('&'));
        return QAccessibleWidget::text(kind);
    }

    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value && allowed()) edit()->setText(text);
    }

    QStringList actionNames() const override {
        QStringList names;
        if (qobject_cast<const QPushButton*>(widget()) && widget()->isEnabled())
            names << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (clippedOut(widget()) || !widget()->isEnabled()) return;
        auto* button = qobject_cast<QPushButton*>(widget());
        if (button != nullptr && name == pressAction()) {
            button->animateClick();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

    // Text, read as the box holds it; written only while the box is in view.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !edit()->hasSelectedText()) return;
        *start = edit()->selectionStart();
        *end = *start + edit()->selectionLength();
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0 && allowed()) edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override {
        if (allowed()) edit()->setCursorPosition(position);
    }
    QString text(int start, int end) const override {
        return edit()->text().mid(start, end - start);
    }
    int characterCount() const override { return int(edit()->text().size()); }
    QRect characterRect(int offset) const override {
        // Measured from the caret, whose place the box tells.
        const QLineEdit* box = edit();
        const QRect caret = box->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QFontMetrics metrics = box->fontMetrics();
        const QString text = box->text();
        const int caretAt = box->cursorPosition();
        const int x =
            offset >= caretAt
                ? caret.x() + metrics.horizontalAdvance(text.mid(caretAt, offset - caretAt))
                : caret.x() - metrics.horizontalAdvance(text.mid(offset, caretAt - offset));
        const QRect local(x, caret.y(), metrics.horizontalAdvance(text.mid(offset, 1)),
                          caret.height());
        return QRect(box->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override {
        setCursorPosition(end);
        setCursorPosition(start);
    }
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (allowed()) edit()->setText(edit()->text().replace(start, end - start, text));
    }

  private:
    QLineEdit* edit() const { return qobject_cast<QLineEdit*>(widget()); }
    bool allowed() const { return edit() != nullptr && !clippedOut(widget()); }
};

bool inViewOnly(const QWidget* widget) {
    for (; widget != nullptr && !widget->isWindow(); widget = widget->parentWidget()) {
        if (widget->property(kInViewOnly).toBool()) return true;
    }
    return false;
}

QAccessibleInterface* factory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && inViewOnly(widget)) {
        if (className == QLatin1String("QLineEdit"))
            return new InViewOnly(widget, QAccessible::EditableText);
        if (className == QLatin1String("QPushButton"))
            return new InViewOnly(widget, QAccessible::Button);
        if (className == QLatin1String("QGroupBox"))
            return new InViewOnly(widget, QAccessible::Grouping);
        if (className == QLatin1String("QLabel"))
            return new InViewOnly(widget, QAccessible::StaticText);
    }
    if (className == QLatin1String(ClickArea::staticMetaObject.className())) {
        auto* area = static_cast<ClickArea*>(object);
        return area->isLink() ? new AccessibleLink(area) : nullptr;
    }
    // Reached only by widgets of no more particular kind: a plain widget made
    // a dialog window (the About window) is a dialog, not a filler.
    if (className == QLatin1String("QWidget")) {
        auto* widget = static_cast<QWidget*>(object);
        if (widget->isWindow() && widget->windowType() == Qt::Dialog) {
            return new QAccessibleWidget(widget, QAccessible::Dialog);
        }
    }
    return nullptr;
}

}  // namespace

void installAccessibility() { QAccessible::installFactory(factory); }

void offerOnlyInView(QWidget* area) {
    installAccessibility();
    area->setProperty(kInViewOnly, true);
    // One made for the area as it was built (its title announced) was made as
    // the toolkit makes them: drop it, so that the next is made as above.
    QAccessible::deleteAccessibleInterface(
        QAccessible::uniqueId(QAccessible::queryAccessibleInterface(area)));
}

void announceInView(QWidget* area, bool inView) {
    if (!QAccessible::isActive()) return;
    QWidgetList controls = area->findChildren<QWidget*>();
    controls.prepend(area);
    for (QWidget* control : controls) {
        QAccessibleEvent event(control, inView ? QAccessible::ObjectShow : QAccessible::ObjectHide);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace kestrow::ui
