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
#include "fonts.h"
#include "twips.h"

namespace kestrow::ui {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetUnderline(QLabel* label, bool on) {
    QFont font = label->font();
    font.setUnderline(on);
    label->setFont(font);
}

const QColor kLinkGreen(0, 128, 0);

// A link area: the pointer turns into the hand over it.
ClickArea* MakeLinkArea(QWidget* parent, const char* name, const QRect& place) {
    auto* area = new ClickArea(parent);
    area->setObjectName(QLatin1String(name));
    area->setGeometry(place);
    area->setCursor(HandCursor());
    return area;
}

// The green text of a link, shown apart from the target it stands for.
ClickArea* MakeLinkText(QWidget* parent, const char* name, const QRect& place,
                        std::string_view text) {
    auto* label = new ClickArea(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setTextFormat(Qt::PlainText);
    label->setText(Text(text));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetDesignedTextColour(label, kLinkGreen, kTextContrast);
    return label;
}

}  // namespace

AboutWindow::AboutWindow(DesktopShell& shell, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      shell_(shell) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Brem"));
    setWindowIcon(SunIcon());
    setFont(DefaultFont());
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFixedSize(TwipsRect(0, 0, 3210, 3690).size());

    BuildPictures();
    BuildSiteLink();
    BuildMailLink();
    BuildButtons();
    BuildKeyboardLinks();
    command1_->setFocus();
}

void AboutWindow::BuildKeyboardLinks() {
    InstallAccessibility();
    mail_->MakeLink(QStringLiteral("Write to ") + Text(maker::kMailText));
    siteBrem_->MakeLink(QStringLiteral("Open ") + Text(maker::kSiteText));
    pictureDon_->MakeLink(QStringLiteral("Donate"));
    // The designed order; the texts inside the links take no focus of their own.
    setTabOrder(mail_, siteBrem_);
    setTabOrder(siteBrem_, command1_);
    setTabOrder(command1_, pictureDon_);
    command1_->setDefault(true);
}

void AboutWindow::BuildPictures() {
    auto* picture1 = new QLabel(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setGeometry(TwipsRect(480, 120, 1575, 1095));
    picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture1->setPixmap(Photograph(devicePixelRatioF()));
    picture1->setAccessibleName(QStringLiteral("Photograph"));

    auto* label3 = new QLabel(Text(maker::kProgramName), this);
    label3->setObjectName(QStringLiteral("Label3"));
    label3->setTextFormat(Qt::PlainText);
    label3->setGeometry(TwipsRect(2130, 240, 615, 375));
    label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // The program's name is wider in the fallback faces than the place the
    // layout gives it: shrink it rather than cut its first letter.
    label3->setFont(FittedFont(BoldFont(8.25), {label3->text()}, label3->size()));

    auto* label4 = new QLabel(Text(kVersion), this);
    label4->setObjectName(QStringLiteral("Label4"));
    label4->setTextFormat(Qt::PlainText);
    label4->setGeometry(TwipsRect(2160, 720, 495, 375));
    label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label4->setFont(BoldFont(9.75));
}

void AboutWindow::BuildSiteLink() {
    siteBrem_ = MakeLinkArea(this, "SiteBrem", TwipsRect(480, 1200, 2535, 855));

    image2_ = new QLabel(siteBrem_);
    image2_->setObjectName(QStringLiteral("Image2"));
    image2_->setGeometry(TwipsRect(0, 0, 2250, 525));
    image2_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image2_->setPixmap(Banner(devicePixelRatioF()));
    image2_->setAccessibleName(QStringLiteral("Banner"));
    // The banner belongs to the site link: moves and clicks over it are the link's.
    image2_->setAttribute(Qt::WA_TransparentForMouseEvents);

    label2_ = MakeLinkText(siteBrem_, "Label2", TwipsRect(0, 600, 2295, 255), maker::kSiteText);

    connect(siteBrem_, &ClickArea::pointerMoved, this, &AboutWindow::SiteBrem_MouseMove);
    connect(siteBrem_, &ClickArea::clicked, this, &AboutWindow::OpenSite);
    connect(label2_, &ClickArea::clicked, this, &AboutWindow::OpenSite);
}

void AboutWindow::BuildMailLink() {
    mail_ = MakeLinkArea(this, "Mail", TwipsRect(240, 2160, 2895, 615));

    image1_ = new ClickArea(mail_);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(TwipsRect(0, 120, 480, 480));
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image1_->setPixmap(MailIcon(devicePixelRatioF()));
    image1_->setAccessibleName(QStringLiteral("Mail icon"));

    label1_ = MakeLinkText(mail_, "Label1", TwipsRect(600, 240, 2175, 255), maker::kMailText);

    connect(mail_, &ClickArea::pointerMoved, this, &AboutWindow::Mail_MouseMove);
    connect(image1_, &ClickArea::pointerMoved, this, &AboutWindow::Image1_MouseMove);
    connect(mail_, &ClickArea::clicked, this, &AboutWindow::SendMail);
    connect(label1_, &ClickArea::clicked, this, &AboutWindow::SendMail);
    connect(image1_, &ClickArea::clicked, this, &AboutWindow::SendMail);
}

void AboutWindow::BuildButtons() {
    pictureDon_ = new ClickArea(this);
    pictureDon_->setObjectName(QStringLiteral("PictureDon"));
    pictureDon_->setGeometry(TwipsRect(120, 3000, 855, 375));
    pictureDon_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pictureDon_->setPixmap(DonationButton(devicePixelRatioF()));
    pictureDon_->setCursor(HandCursor());
    connect(pictureDon_, &ClickArea::clicked, this, &AboutWindow::PictureDon_Click);

    command1_ = new QPushButton(QStringLiteral("OK"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(TwipsRect(1200, 3240, 855, 375));
    connect(command1_, &QPushButton::clicked, this, &QWidget::close);
}

void AboutWindow::changeEvent(QEvent* event) {
    // A new colour scheme, light or dark: the links' green follows it.
    if (event->type() == QEvent::PaletteChange) ApplyDesignedTextColours(this);
    QWidget::changeEvent(event);
}

void AboutWindow::mouseMoveEvent(QMouseEvent* event) {
    Form_MouseMove();
    event->accept();
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AboutWindow::Form_MouseMove() {
    SetUnderline(label1_, false);
    SetUnderline(label2_, false);
}

void AboutWindow::Mail_MouseMove() { SetUnderline(label1_, true); }

void AboutWindow::Image1_MouseMove() { SetUnderline(label1_, true); }

void AboutWindow::SiteBrem_MouseMove() { SetUnderline(label2_, true); }

void AboutWindow::SendMail() { maker::SendMail(shell_); }

void AboutWindow::OpenSite() { maker::OpenSite(shell_); }

void AboutWindow::PictureDon_Click() { maker::OpenDonation(shell_); }

}  // namespace kestrow::ui
