// SPDX-License-Identifier: MIT
// The About window: the program's name and version and the maker's mail,
// site and donation links. Hovering a link underlines its text until the
// pointer crosses the window's own background again.
//
//   object name  member           what it is
//   About        (the window)
//   Picture1     (local)          the photograph
//   Label3       (local)          the program's name
//   Label4       (local)          its version
//   SiteBrem     siteLink_        the site link's area
//   Image2       banner_          the banner inside it
//   Label2       siteText_        the site's address inside it
//   Mail         mailLink_        the mail link's area
//   Image1       mailIcon_        the envelope inside it
//   Label1       mailText_        the mail address inside it
//   PictureDon   donationButton_  the donation page's button
//   Command1     okButton_        "OK", closes the window
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/desktop_shell.h"

class QLabel;
class QPushButton;

namespace kestrow::ui {

class ClickArea;
class UnopenedLink;

class AboutWindow : public QWidget {
    Q_OBJECT

  public:
    // `shell` must outlive the window.
    explicit AboutWindow(DesktopShell& shell, QWidget* parent = nullptr);

  protected:
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildPictures();
    void buildSiteLink();
    void buildMailLink();
    void buildButtons();
    void buildKeyboardLinks();

    void clearLinkUnderlines();
    void underlineMailText();
    void underlineSiteText();
    void sendMail();
    void openSite();
    void openDonation();
    // Says that the desktop could not open a link, and gives its address.
    void tellUnopened(const QString& why, std::string_view address);

    DesktopShell& shell_;
    ClickArea* siteLink_ = nullptr;
    QLabel* banner_ = nullptr;
    ClickArea* siteText_ = nullptr;
    ClickArea* mailLink_ = nullptr;
    ClickArea* mailIcon_ = nullptr;
    ClickArea* mailText_ = nullptr;
    ClickArea* donationButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPointer<UnopenedLink> unopened_;
};

}  // namespace kestrow::ui
