// SPDX-License-Identifier: MIT
#include "unopened_link.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "artwork.h"

namespace kestrow::ui {

UnopenedLink::UnopenedLink(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("UnopenedLink"));
    setWindowTitle(QStringLiteral("Kestrow – Lien / Link"));
    setWindowIcon(sunIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    why_ = new QLabel(this);
    why_->setTextFormat(Qt::PlainText);
    why_->setWordWrap(true);
    // A read-only box: the address can be selected with the mouse or the
    // keyboard, and a screen reader reads it as text.
    address_ = new QLineEdit(this);
    address_->setObjectName(QStringLiteral("Address"));
    address_->setReadOnly(true);
    address_->setAccessibleName(QStringLiteral("Address"));
    why_->setBuddy(address_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    // An action button: it copies and leaves the message up.
    copy_ = buttons->addButton(QStringLiteral("Copy address"), QDialogButtonBox::ActionRole);
    copy_->setObjectName(QStringLiteral("Copy"));
    connect(copy_, &QPushButton::clicked, this, &UnopenedLink::copyAddress);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(why_);
    layout->addWidget(address_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void UnopenedLink::tell(const QString& why, const QString& address) {
    why_->setText(why);
    address_->setText(address);
    address_->setMinimumWidth(address_->fontMetrics().horizontalAdvance(address) +
                              4 * address_->fontMetrics().averageCharWidth());
    copy_->setText(QStringLiteral("Copy address"));
    // Enter copies, Escape closes.
    copy_->setDefault(true);
    copy_->setFocus();
    show();
    raise();
    activateWindow();
}

void UnopenedLink::copyAddress() {
    QGuiApplication::clipboard()->setText(address_->text());
    copy_->setText(QStringLiteral("Copied"));
}

}  // namespace kestrow::ui
