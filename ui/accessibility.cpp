// SPDX-License-Identifier: MIT
#include "accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
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

QAccessibleInterface* factory(const QString& className, QObject* object) {
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

}  // namespace kestrow::ui
