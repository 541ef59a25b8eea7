// SPDX-License-Identifier: MIT
// The main window: the almanac band, the coordinate frame below it and the
// menu bar. What happens on its events is decided by kestrow::MainWindowLogic;
// this class builds the controls, passes the events on and carries out the
// logic's requests.
//
// The controls keep the object names their layout was drawn with, which
// tests, screen reader scripts and style sheets find them by:
//
//   object name     member              what it is
//   Form1           (the window)
//   Setup           setupAction_        menu entry that shows the coordinate frame
//   pointIntero     aboutAction_        menu entry "?", the About window
//   Label1          sunriseCaption_     "Lever"
//   Label2          sunsetCaption_      "Coucher"
//   Label3          dayLengthCaption_   "Durée"
//   Label_Lever     sunrise_            today's sunrise
//   Label_coucher   sunset_             today's sunset
//   Label_duree     dayLength_          today's length of day
//   Label4          change_             its change since yesterday
//   Frame1          placeFrame_         "Degrés décimaux", the coordinate frame
//   TextLatitude    latitudeBox_        latitude in decimal degrees
//   TextLongitude   longitudeBox_       longitude in decimal degrees
//   CommandSauve    saveButton_         "OK", saves the place
//   LabelLatitude   (caption)           "Latitude", the latitude box's buddy
//   Labellongitude  (caption)           "Longitude", the longitude box's buddy
//   Label5          southHint_          "Sud = negative"
//   Label6          westHint_           "Ouest = negative"
//   Timer1          minuteTimer_        recomputes the almanac every minute
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <iosfwd>
#include <optional>

#include "about_window.h"
#include "app/clock.h"
#include "app/desktop_shell.h"
#include "app/main_window_logic.h"
#include "app/main_window_view.h"
#include "app/user_locale.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QTimer;

namespace kestrow::ui {

class MainWindow : public QMainWindow, public MainWindowView {
    Q_OBJECT

  public:
    // The window loads (reads the settings file, computes the almanac) here,
    // before it is first shown. The references must outlive the window.
    // `firstPlace`, where given, is asked for a place to offer when there is
    // no settings file yet (MainWindowLogic::OfferFirstPlace).
    MainWindow(DesktopShell& shell, const Clock& clock, const UserLocale& locale,
               std::ostream& errors,
               std::filesystem::path settingsPath = std::filesystem::path(kSettingsFileName),
               bool localTime = false, AlmanacMethod method = AlmanacMethod::Design,
               std::function<std::optional<ZonePlace>()> firstPlace = nullptr,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    const MainWindowLogic& logic() const { return logic_; }
    // The About window while it is loaded, otherwise null.
    AboutWindow* aboutWindow() const { return about_; }

    void ShowAlmanac(const AlmanacTexts& texts) override;
    void SetToolTip(AlmanacRow row, const std::string& text) override;
    void SetCaption(const std::string& caption) override;
    void SetOuterHeight(int twips) override;
    int Top() const override;
    int Left() const override;
    void Move(int top, int left) override;
    bool IsPositionVisible(int top, int left) const override;
    bool KnowsPosition() const override;
    std::string BoxText(CoordinateBox box) const override;
    void SetBoxText(CoordinateBox box, const std::string& text) override;
    int CaretPosition(CoordinateBox box) const override;
    void SetCaretPosition(CoordinateBox box, int position) override;
    void ReplaceInBox(CoordinateBox box, int position, int count, const std::string& text) override;
    void SetFrameFocusable(bool focusable) override;
    void FocusBox(CoordinateBox box) override;
    void FocusAlmanac() override;
    void ShowAbout() override;
    void UnloadAbout() override;
    void ShowMessage(const std::string& text) override;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void buildMenu();
    void buildBand(QWidget* client);
    void buildFrame(QWidget* client);
    void connectLogic();
    void fitToFrame();
    void applyOuterHeight();
    void keepAskedPlace();
    void keepOnScreen();
    QLineEdit* boxFor(CoordinateBox box) const;

    DesktopShell& shell_;
    MainWindowLogic logic_;

    QAction* setupAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QLabel* sunriseCaption_ = nullptr;
    QLabel* sunsetCaption_ = nullptr;
    QLabel* dayLengthCaption_ = nullptr;
    QLabel* sunrise_ = nullptr;
    QLabel* sunset_ = nullptr;
    QLabel* dayLength_ = nullptr;
    QLabel* change_ = nullptr;
    QGroupBox* placeFrame_ = nullptr;
    QLineEdit* latitudeBox_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QLineEdit* longitudeBox_ = nullptr;
    QLabel* southHint_ = nullptr;
    QLabel* westHint_ = nullptr;
    QTimer* minuteTimer_ = nullptr;

    QPointer<AboutWindow> about_;
    QPointer<QMessageBox> message_;
    QPointer<QWidget> focusBeforeSetup_;  // where Escape puts the focus back
    int outerHeightTwips_ = 0;          // as last asked for; applied again once the frame is known
    std::optional<QPoint> askedPlace_;  // outer top-left, until the frame is known
    bool frameKnown_ = false;           // the window manager's frame, since shown or rescaled
};

}  // namespace kestrow::ui
