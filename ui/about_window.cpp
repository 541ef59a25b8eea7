// SPDX-License-Identifier: MIT
#include "about_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "accessibility.h"
#include "app/about_links.h"
#include "app/version.h"
#include "artwork.h"
#include "click_area.h"
#include "contrast.h"
#include "focus_mark.h"
#include "fonts.h"
#include "twips.h"
#include "ui/platform/fixed_size.h"
#include "unopened_link.h"

namespace kestrow::ui {
namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void setUnderline(QLabel* label, bool on) {
    QFont font = label->font();
    font.setUnderline(on);
    label->setFont(font);
}

const QColor kLinkGreen(0, 128, 0);

// A link area: the pointer turns into the hand over it.
ClickArea* makeLinkArea(QWidget* parent, const char* name, const QRect& place) {
    auto* area = new ClickArea(parent);
    area->setObjectName(QLatin1String(name));
    area->setGeometry(place);
    area->setCursor(handCursor());
    return area;
}

// The green text of a link, shown apart from the target it stands for.
ClickArea* makeLinkText(QWidget* parent, const char* name, const QRect& place,
                        std::string_view text) {
    auto* label = new ClickArea(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(text));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setDesignedTextColour(label, kLinkGreen, kTextContrast);
    return label;
}

}  // namespace

AboutWindow::AboutWindow(DesktopShell& shell, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      shell_(shell) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Brem"));
    setWindowIcon(sunIcon());
    setFont(defaultFont());
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFixedSize(twipsRect(0, 0, 3210, 3690).size());
    keepFixedSize(this);

    buildPictures();
    buildSiteLink();
    buildMailLink();
    buildButtons();
    buildKeyboardLinks();
    okButton_->setFocus();
}

void AboutWindow::buildKeyboardLinks() {
    installAccessibility();
    mailLink_->makeLink(QStringLiteral("Write to ") + toQString(maker::kMailText));
    siteLink_->makeLink(QStringLiteral("Open ") + toQString(maker::kSiteText));
    donationButton_->makeLink(QStringLiteral("Donate"));
    // The designed order; the texts inside the links take no focus of their own.
    setTabOrder(mailLink_, siteLink_);
    setTabOrder(siteLink_, okButton_);
    setTabOrder(okButton_, donationButton_);
    okButton_->setDefault(true);
    showFocusMark(okButton_);
}

void AboutWindow::buildPictures() {
    auto* photo = new QLabel(this);
    photo->setObjectName(QStringLiteral("Picture1"));
    photo->setGeometry(twipsRect(480, 120, 1575, 1095));
    photo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    photo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The whole of the frame's inside, with no light strip along its edges.
    photo->setPixmap(photograph(photo->contentsRect().size(), devicePixelRatioF()));
    photo->setAccessibleName(QStringLiteral("Photograph"));

    auto* programName = new QLabel(toQString(maker::kProgramName), this);
    programName->setObjectName(QStringLiteral("Label3"));
    programName->setTextFormat(Qt::PlainText);
    programName->setGeometry(twipsRect(2130, 240, 615, 375));
    programName->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // The program's name is wider in the fallback faces than the place the
    // layout gives it: shrink it rather than cut its first letter.
    programName->setFont(fittedFont(boldFont(8.25), {programName->text()}, programName->size()));

    auto* version = new QLabel(toQString(kVersion), this);
    version->setObjectName(QStringLiteral("Label4"));
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(twipsRect(2160, 720, 495, 375));
    version->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    version->setFont(boldFont(9.75));
}

void AboutWindow::buildSiteLink() {
    siteLink_ = makeLinkArea(this, "SiteBrem", twipsRect(480, 1200, 2535, 855));

    banner_ = new QLabel(siteLink_);
    banner_->setObjectName(QStringLiteral("Image2"));
    banner_->setGeometry(twipsRect(0, 0, 2250, 525));
    banner_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    banner_->setPixmap(banner(devicePixelRatioF()));
    banner_->setAccessibleName(QStringLiteral("Banner"));
    // The banner belongs to the site link: moves and clicks over it are the link's.
    banner_->setAttribute(Qt::WA_TransparentForMouseEvents);

    siteText_ = makeLinkText(siteLink_, "Label2", twipsRect(0, 600, 2295, 255), maker::kSiteText);

    connect(siteLink_, &ClickArea::pointerMoved, this, &AboutWindow::underlineSiteText);
    connect(siteLink_, &ClickArea::clicked, this, &AboutWindow::openSite);
    connect(siteText_, &ClickArea::clicked, this, &AboutWindow::openSite);
}

void AboutWindow::buildMailLink() {
    mailLink_ = makeLinkArea(this, "Mail", twipsRect(240, 2160, 2895, 615));

    mailIcon_ = new ClickArea(mailLink_);
    mailIcon_->setObjectName(QStringLiteral("Image1"));
    mailIcon_->setGeometry(twipsRect(0, 120, 480, 480));
    mailIcon_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mailIcon_->setPixmap(mailIcon(devicePixelRatioF()));
    mailIcon_->setAccessibleName(QStringLiteral("Mail icon"));

    mailText_ = makeLinkText(mailLink_, "Label1", twipsRect(600, 240, 2175, 255), maker::kMailText);

    connect(mailLink_, &ClickArea::pointerMoved, this, &AboutWindow::underlineMailText);
    connect(mailIcon_, &ClickArea::pointerMoved, this, &AboutWindow::underlineMailText);
    connect(mailLink_, &ClickArea::clicked, this, &AboutWindow::sendMail);
    connect(mailText_, &ClickArea::clicked, this, &AboutWindow::sendMail);
    connect(mailIcon_, &ClickArea::clicked, this, &AboutWindow::sendMail);
}

void AboutWindow::buildButtons() {
    donationButton_ = new ClickArea(this);
    donationButton_->setObjectName(QStringLiteral("PictureDon"));
    donationButton_->setGeometry(twipsRect(120, 3000, 855, 375));
    donationButton_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    donationButton_->setPixmap(donationButton(devicePixelRatioF()));
    donationButton_->setCursor(handCursor());
    connect(donationButton_, &ClickArea::clicked, this, &AboutWindow::openDonation);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("Command1"));
    okButton_->setGeometry(twipsRect(1200, 3240, 855, 375));
    connect(okButton_, &QPushButton::clicked, this, &QWidget::close);
}

void AboutWindow::changeEvent(QEvent* event) {
    // A new colour scheme, light or dark: the links' green follows it.
    if (event->type() == QEvent::PaletteChange) applyDesignedTextColours(this);
    QWidget::changeEvent(event);
}

void AboutWindow::mouseMoveEvent(QMouseEvent* event) {
    clearLinkUnderlines();
    event->accept();
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AboutWindow::clearLinkUnderlines() {
    setUnderline(mailText_, false);
    setUnderline(siteText_, false);
}

void AboutWindow::underlineMailText() { setUnderline(mailText_, true); }

void AboutWindow::underlineSiteText() { setUnderline(siteText_, true); }

void AboutWindow::sendMail() {
    if (!maker::SendMail(shell_)) {
        tellUnopened(QStringLiteral("No mail program could be started. You can write to:"),
                     maker::kMailAddress);
    }
}

void AboutWindow::openSite() {
    if (!maker::OpenSite(shell_)) {
        tellUnopened(QStringLiteral("No web browser could be started. The site's address:"),
                     maker::kSiteRoot);
    }
}

void AboutWindow::openDonation() {
    if (!maker::OpenDonation(shell_)) {
        tellUnopened(QStringLiteral("No web browser could be started. The page's address:"),
                     maker::DonationPage());
    }
}

void AboutWindow::tellUnopened(const QString& why, std::string_view address) {
    // One message, the latest link's.
    if (unopened_.isNull()) unopened_ = new UnopenedLink(this);
    unopened_->tell(why, toQString(address));
}

}  // namespace kestrow::ui
