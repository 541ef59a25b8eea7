// SPDX-License-Identifier: MIT
#include "main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <algorithm>

#include "about_window.h"
#include "accessibility.h"
#include "artwork.h"
#include "box_history.h"
#include "contrast.h"
#include "focus_mark.h"
#include "fonts.h"
#include "image_plugins.h"
#include "twips.h"

namespace kestrow::ui {
namespace {

constexpr int kClientWidth = 2835;  // twips
constexpr int kClientHeight = 3315;

const QColor kDarkGrey(64, 64, 64);
const QColor kGrey(128, 128, 128);

QString toQString(const std::string& text) { return QString::fromStdString(text); }

QFont headingFont() { return boldFont(9.75); }

// A tooltip is shown as rich text whenever Qt guesses it might be; a text
// that could be taken so is escaped, so that it reads as it stands.
QString plainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                  Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);  // what the program writes there is never markup
    label->setGeometry(place);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(true);
    // From the top of the box, as the layout places it: a framed label would
    // otherwise be indented by half an "x" and its text pushed onto its
    // bottom border.
    label->setIndent(0);
    return label;
}

// The label's face, smaller where it would not show `texts` whole with a
// pixel to spare inside its box.
QFont fontToFit(const QLabel* label, const QStringList& texts, int lines = 1) {
    const QSize room = label->contentsRect().adjusted(1, 1, -1, -1).size();
    return fittedFont(label->font(), texts, room, lines);
}

void fitText(QLabel* label, const QStringList& texts) { label->setFont(fontToFit(label, texts)); }

void setBoxed(QLabel* label) { label->setFrameStyle(QFrame::Box | QFrame::Plain); }

QLineEdit* makeBox(QWidget* parent, const char* name, const QString& text, const QRect& place,
                   int maxLength, const QString& toolTip) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    box->setMaxLength(maxLength);
    box->setAlignment(Qt::AlignCenter);
    box->setToolTip(toolTip);
    // The design text is there before any handler is connected: it raises no change.
    box->setText(text);
    return box;
}

}  // namespace

MainWindow::MainWindow(DesktopShell& shell, const Clock& clock, const UserLocale& locale,
                       std::ostream& errors, std::filesystem::path settingsPath, bool localTime,
                       QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      shell_(shell),
      logic_(*this, clock, locale, errors, std::move(settingsPath), localTime) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kestrow"));
    {
        // Both read PNGs as they are made: the window's icon and the menu
        // bar's, for its extension button.
        const WithoutImagePlugins pngOnly;
        setWindowIcon(sunIcon());
        menuBar();
    }
    setFont(defaultFont());
    buildMenu();
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    buildBand(client);
    buildFrame(client);

    const QRect designed = twipsRect(0, 0, kClientWidth, kClientHeight);
    setFixedSize(designed.width(), menuBar()->sizeHint().height() + designed.height());

    minuteTimer_ = new QTimer(this);
    minuteTimer_->setObjectName(QStringLiteral("Timer1"));
    minuteTimer_->setInterval(MainWindowLogic::kTimerIntervalMs);
    minuteTimer_->setTimerType(Qt::VeryCoarseTimer);

    connectLogic();
    logic_.OnLoad();
    minuteTimer_->start();
}

MainWindow::~MainWindow() {
    // Gone before the logic is: nothing they do on the way out may reach it.
    delete about_.data();
    // Parentless, so not deleted with the window otherwise.
    delete message_.data();
}

void MainWindow::buildMenu() {
    // Top-level entries with no menus under them: choosing one runs it at once.
    // Alt+S through the underlined S; F1 has no letter to underline, so the
    // entry tells it in its hover text (screen readers get both keys from
    // the entries themselves).
    setupAction_ = new QAction(QStringLiteral("&Setup"), this);
    setupAction_->setObjectName(QStringLiteral("Setup"));
    aboutAction_ = new QAction(QStringLiteral("?"), this);
    aboutAction_->setObjectName(QStringLiteral("pointIntero"));
    aboutAction_->setShortcut(QKeySequence(Qt::Key_F1));
    aboutAction_->setToolTip(QStringLiteral("About Kestrow (F1)"));
    menuBar()->addAction(setupAction_);
    menuBar()->addAction(aboutAction_);
    menuBar()->installEventFilter(this);  // for the entries' hover texts
}

void MainWindow::buildBand(QWidget* client) {
    sunriseCaption_ = makeLabel(client, "Label1", QStringLiteral("Lever"),
                                twipsRect(240, 0, 615, 255), Qt::AlignLeft);
    sunriseCaption_->setFont(headingFont());

    sunsetCaption_ = makeLabel(client, "Label2", QStringLiteral("Coucher"),
                               twipsRect(940, 0, 855, 255), Qt::AlignLeft);
    sunsetCaption_->setFont(headingFont());

    dayLengthCaption_ = makeLabel(client, "Label3", QStringLiteral("Durée"),
                                  twipsRect(2040, 0, 495, 255), Qt::AlignHCenter);
    setDesignedTextColour(dayLengthCaption_, kDarkGrey, kTextContrast);

    sunrise_ = makeLabel(client, "Label_Lever", QStringLiteral("00 h 00"),
                         twipsRect(120, 340, 855, 285), Qt::AlignHCenter);
    sunrise_->setFont(headingFont());
    setBoxed(sunrise_);

    sunset_ = makeLabel(client, "Label_coucher", QStringLiteral("00 h 00"),
                        twipsRect(960, 340, 855, 285), Qt::AlignHCenter);
    sunset_->setFont(headingFont());
    setBoxed(sunset_);

    dayLength_ = makeLabel(client, "Label_duree", QStringLiteral("00 h 00"),
                           twipsRect(1920, 240, 735, 320), Qt::AlignHCenter);
    setDesignedTextColour(dayLength_, kDarkGrey, kTextContrast);
    setBoxed(dayLength_);

    // Made after Label_duree, so it is drawn over that label's lower edge.
    change_ = makeLabel(client, "Label4", QStringLiteral("Label4"), twipsRect(1920, 480, 735, 255),
                        Qt::AlignHCenter);
    change_->setFont(smallItalicFont());
    setDesignedTextColour(change_, kGrey, kGreyContrast);
    setBoxed(change_);
    change_->setToolTip(QStringLiteral("Ce jour/ today"));

    const QStringList times{QStringLiteral("00 h 00")};
    fitText(sunriseCaption_, {sunriseCaption_->text()});
    fitText(sunsetCaption_, {sunsetCaption_->text()});
    fitText(dayLengthCaption_, {dayLengthCaption_->text()});
    // Sunrise and sunset share a face and a box: one fitting serves both.
    fitText(sunrise_, times);
    sunset_->setFont(sunrise_->font());
    fitText(dayLength_, times);
    fitText(change_, {QStringLiteral("+ 59 s"), QStringLiteral("- 59 mn")});
}

void MainWindow::buildFrame(QWidget* client) {
    placeFrame_ = new QGroupBox(QStringLiteral("Degrés décimaux"), client);
    placeFrame_->setObjectName(QStringLiteral("Frame1"));
    placeFrame_->setGeometry(twipsRect(120, 1080, 2655, 1455));
    offerOnlyInView(placeFrame_);  // before a screen reader can ask for what is in it

    latitudeBox_ = makeBox(placeFrame_, "TextLatitude", QStringLiteral("00,00"),
                           twipsRect(120, 360, 735, 285), 6, QStringLiteral("Lat"));
    saveButton_ = new QPushButton(QStringLiteral("OK"), placeFrame_);
    saveButton_->setObjectName(QStringLiteral("CommandSauve"));
    saveButton_->setGeometry(twipsRect(1920, 360, 615, 375));
    saveButton_->setDefault(true);
    showFocusMark(saveButton_);
    longitudeBox_ = makeBox(placeFrame_, "TextLongitude", QStringLiteral("000,00"),
                            twipsRect(960, 360, 735, 285), 7, QStringLiteral("Long"));

    QLabel* latitudeCaption = makeLabel(placeFrame_, "LabelLatitude", QStringLiteral("Latitude"),
                                        twipsRect(120, 720, 735, 255), Qt::AlignHCenter);
    QLabel* longitudeCaption = makeLabel(placeFrame_, "Labellongitude", QStringLiteral("Longitude"),
                                         twipsRect(960, 720, 735, 255), Qt::AlignHCenter);
    southHint_ = makeLabel(placeFrame_, "Label5", QStringLiteral("Sud = negative"),
                           twipsRect(120, 960, 735, 375), Qt::AlignHCenter);
    westHint_ = makeLabel(placeFrame_, "Label6", QStringLiteral("Ouest = negative"),
                          twipsRect(960, 960, 735, 375), Qt::AlignHCenter);
    // The palette's disabled-text colour, so that the hints follow the scheme.
    for (QLabel* hint : {southHint_, westHint_})
        setDesignedTextColour(hint, QColor(), kGreyContrast);
    // Both captions and both hints share a size, the one the longest needs.
    const QFont caption =
        fontToFit(longitudeCaption, {latitudeCaption->text(), longitudeCaption->text()});
    for (QLabel* label : {latitudeCaption, longitudeCaption}) label->setFont(caption);
    const QFont hint = fontToFit(westHint_, {southHint_->text(), westHint_->text()}, 2);
    for (QLabel* label : {southHint_, westHint_}) label->setFont(hint);

    // A screen reader names each box after its caption and reads the sign
    // rule under it, rather than the frame's title for both.
    latitudeCaption->setBuddy(latitudeBox_);
    longitudeCaption->setBuddy(longitudeBox_);
    latitudeBox_->setAccessibleName(latitudeCaption->text());
    longitudeBox_->setAccessibleName(longitudeCaption->text());
    latitudeBox_->setAccessibleDescription(southHint_->text());
    longitudeBox_->setAccessibleDescription(westHint_->text());

    // Only the two boxes and the button take the keyboard focus, in this order.
    setTabOrder(latitudeBox_, saveButton_);
    setTabOrder(saveButton_, longitudeBox_);
}

void MainWindow::connectLogic() {
    connect(setupAction_, &QAction::triggered, this, [this] { logic_.OnSetup(); });
    connect(aboutAction_, &QAction::triggered, this, [this] { logic_.OnAbout(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { logic_.OnSave(); });
    connect(minuteTimer_, &QTimer::timeout, this, [this] { logic_.OnMinuteTick(); });
    // textChanged comes for typing and for setText alike, and only when the
    // text really changes: the handlers rely on both. A step back or forth
    // through the box's undo history (redo is then possible) is no edit: a
    // repair there would cut off the steps still to redo.
    connect(latitudeBox_, &QLineEdit::textChanged, this, [this] {
        if (!latitudeBox_->isRedoAvailable()) logic_.OnLatitudeEdited();
    });
    connect(longitudeBox_, &QLineEdit::textChanged, this, [this] {
        if (!longitudeBox_->isRedoAvailable()) logic_.OnLongitudeEdited();
    });
    for (QLineEdit* box : {latitudeBox_, longitudeBox_})
        skipReplacedPoints(box, [this] { return logic_.DecimalSeparator() != "."; });
    // Enter in a box is a click on the default button, as in a dialog.
    for (QLineEdit* box : {latitudeBox_, longitudeBox_}) {
        connect(box, &QLineEdit::returnPressed, saveButton_, &QPushButton::click);
    }
}

QLabel* MainWindow::labelFor(AlmanacLabel label) const {
    switch (label) {
        case AlmanacLabel::Sunrise:
            return sunrise_;
        case AlmanacLabel::SunriseCaption:
            return sunriseCaption_;
        case AlmanacLabel::Sunset:
            return sunset_;
        case AlmanacLabel::SunsetCaption:
            return sunsetCaption_;
        case AlmanacLabel::DayLength:
            return dayLength_;
        case AlmanacLabel::DayLengthCaption:
            return dayLengthCaption_;
        case AlmanacLabel::Change:
            return change_;
    }
    return change_;
}

QLineEdit* MainWindow::boxFor(CoordinateBox box) const {
    return box == CoordinateBox::Latitude ? latitudeBox_ : longitudeBox_;
}

void MainWindow::SetLabelText(AlmanacLabel label, const std::string& text) {
    QLabel* shown = labelFor(label);
    shown->setText(toQString(text));
    // A bare "8 h 31" says nothing to a screen reader: name the value as
    // well. Setting the name tells the reader it changed.
    const char* what = nullptr;
    switch (label) {
        case AlmanacLabel::Sunrise:
            what = "Sunrise ";
            break;
        case AlmanacLabel::Sunset:
            what = "Sunset ";
            break;
        case AlmanacLabel::DayLength:
            what = "Length of day ";
            break;
        case AlmanacLabel::Change:
            what = "Change since yesterday ";
            break;
        default:
            break;
    }
    // Each name change is an event a screen reader may speak: none when the
    // minute's tick leaves the text as it was.
    const auto update = [](QWidget* widget, const QString& name, const QString& description) {
        if (widget->accessibleName() != name) widget->setAccessibleName(name);
        if (widget->accessibleDescription() != description)
            widget->setAccessibleDescription(description);
    };
    if (what != nullptr)
        update(shown, QLatin1String(what) + shown->text(), shown->accessibleDescription());
    // The sunrise is where the focus lands after a save: it tells the rest
    // of the day as well.
    const QStringList rest{sunset_->accessibleName(), dayLength_->accessibleName(),
                           change_->accessibleName()};
    update(sunrise_, sunrise_->accessibleName(), rest.join(QLatin1String(", ")));
}

void MainWindow::SetToolTip(AlmanacLabel label, const std::string& text) {
    labelFor(label)->setToolTip(plainToolTip(toQString(text)));
}

void MainWindow::SetCaption(const std::string& caption) { setWindowTitle(toQString(caption)); }

void MainWindow::SetOuterHeight(int twips) {
    const bool taller = twips > outerHeightTwips_;
    outerHeightTwips_ = twips;
    applyOuterHeight();
    if (taller) keepOnScreen();
}

void MainWindow::keepOnScreen() {
    // Grown past the bottom of the screen, the window would put its boxes and
    // its button out of reach: move it up just enough, never above the top.
    if (!isVisible() || !KnowsPosition()) return;
    const QRect available = screen()->availableGeometry();
    const QRect outer = frameGeometry();
    const int over = outer.bottom() - available.bottom();
    if (over <= 0) return;
    // Asked for as a stored place is, so that a frame that comes later does
    // not put the window back where it was.
    askedPlace_ = QPoint(outer.left(), std::max(available.top(), outer.top() - over));
    move(*askedPlace_);
}

void MainWindow::applyOuterHeight() {
    if (outerHeightTwips_ <= 0) return;
    // Title bar and borders as the window manager draws them; none before the
    // window is shown or where there is no window manager.
    const int decoration = std::max(0, frameGeometry().height() - geometry().height());
    int menu = menuBar()->heightForWidth(width());
    if (menu < 0) menu = menuBar()->sizeHint().height();
    int client = twipsToPixels(outerHeightTwips_) - decoration - menu;

    // The outer heights were chosen for one platform's title and menu bars.
    // Elsewhere keep what they are meant to show: the band alone, down to the
    // change label, or the band and the whole coordinate frame.
    const int bandBottom = change_->geometry().bottom() + 1;
    const int frameTop = placeFrame_->geometry().top();
    const int frameBottom = placeFrame_->geometry().bottom() + 1;
    const bool compact = client < frameTop + placeFrame_->height() / 2;
    if (compact) {
        client = std::clamp(client, bandBottom, frameTop);
    } else {
        client = std::max(client, frameBottom);
    }
    // Widen the limits before narrowing them, so that the window manager is
    // never told of a minimum above the maximum, which some then apply by
    // refusing the new size.
    const int height = menu + client;
    if (height > maximumHeight()) {
        setMaximumHeight(height);
        setMinimumHeight(height);
    } else {
        setMinimumHeight(height);
        setMaximumHeight(height);
    }
}

int MainWindow::Top() const { return pixelsToTwips(frameGeometry().top()); }

int MainWindow::Left() const { return pixelsToTwips(frameGeometry().left()); }

void MainWindow::Move(int top, int left) {
    askedPlace_ = QPoint(twipsToPixels(left), twipsToPixels(top));
    move(*askedPlace_);
}

void MainWindow::keepAskedPlace() {
    // Placed before it was shown, the window asks for its frame's corner, and
    // some window managers put the inner corner there instead: the window would
    // creep by its border at every start. Once the frame is known, put it right.
    if (!askedPlace_ || !isVisible() || frameGeometry() == geometry()) return;
    const QPoint asked = *askedPlace_;
    askedPlace_.reset();
    if (pos() != asked) move(asked);
}

bool MainWindow::IsPositionVisible(int top, int left) const {
    // The title bar is what the user drags the window by, so all of it must
    // be on the screens. Once the window is framed, its height is the window
    // manager's own; before that (the case at start, when the stored place is
    // applied) it is estimated from the style's title bar height.
    const int framedTitle = geometry().top() - frameGeometry().top();
    const int title =
        framedTitle > 0 ? framedTitle : style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QRect titleBar(twipsToPixels(left), twipsToPixels(top), frameGeometry().width(), title);
    QRegion available;
    for (const QScreen* screen : QGuiApplication::screens()) {
        available += screen->availableGeometry();
    }
    return QRegion(titleBar).subtracted(available).isEmpty();
}

bool MainWindow::KnowsPosition() const {
    // A Wayland compositor keeps its windows' places to itself: a program
    // reads only its own decoration's margin there, and cannot move itself.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

std::string MainWindow::BoxText(CoordinateBox box) const {
    return boxFor(box)->text().toStdString();
}

void MainWindow::SetBoxText(CoordinateBox box, const std::string& text) {
    // setText cuts to the maximum length and signals textChanged, nested,
    // only when the text differs: what the logic's handlers expect of a box.
    boxFor(box)->setText(toQString(text));
}

int MainWindow::CaretPosition(CoordinateBox box) const { return boxFor(box)->cursorPosition(); }

void MainWindow::SetCaretPosition(CoordinateBox box, int position) {
    // Moving the caret closes the undo step: only when it must move.
    QLineEdit* edit = boxFor(box);
    if (edit->cursorPosition() != position) edit->setCursorPosition(position);
}

void MainWindow::ReplaceInBox(CoordinateBox box, int position, int count, const std::string& text) {
    // Selected and typed over, as a user would: setText would wipe the undo history.
    QLineEdit* edit = boxFor(box);
    edit->setSelection(position, count);
    edit->insert(toQString(text));
}

void MainWindow::SetFrameFocusable(bool focusable) {
    // Neither hidden nor disabled, so that nothing moves: only out of the
    // keyboard's reach, and out of a screen reader's while clipped away.
    for (QWidget* control :
         {static_cast<QWidget*>(latitudeBox_), static_cast<QWidget*>(saveButton_),
          static_cast<QWidget*>(longitudeBox_)}) {
        control->setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
        if (!focusable) control->clearFocus();
    }
    announceInView(placeFrame_, focusable);
}

void MainWindow::FocusBox(CoordinateBox box) {
    QLineEdit* edit = boxFor(box);
    if (edit->focusPolicy() == Qt::NoFocus) return;
    edit->setFocus(Qt::ShortcutFocusReason);
    edit->selectAll();
}

void MainWindow::FocusAlmanac() {
    // The sunrise takes the focus only from here, never from Tab: its name
    // and description tell the day, so a screen reader says the new times.
    sunrise_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ShowAbout() {
    if (about_.isNull()) about_ = new AboutWindow(shell_, this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainWindow::UnloadAbout() { delete about_.data(); }

void MainWindow::ShowMessage(const std::string& text) {
    if (!message_.isNull()) {
        message_->setText(toQString(text));
        message_->raise();
        return;
    }
    // Without a parent, so that a message raised while this window closes is
    // still seen, and the program ends only once it is dismissed.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Kestrow – Erreur / Error"),
                                toQString(text), QMessageBox::Ok);
    box->setObjectName(QStringLiteral("Message"));
    // The message may quote the settings file: never markup.
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setWindowIcon(sunIcon());
    message_ = box;
    if (isVisible()) {
        box->adjustSize();
        box->move(frameGeometry().center() - box->rect().center());
    }
    box->show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    minuteTimer_->stop();
    // A message left from before belongs to the window that is going away;
    // only one raised by the closing itself should outlive it.
    delete message_.data();
    logic_.OnClose();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    // A new colour scheme, light or dark: the colours of the texts follow it.
    if (event->type() == QEvent::PaletteChange) applyDesignedTextColours(this);
    QMainWindow::changeEvent(event);
}

bool MainWindow::event(QEvent* event) {
    // The window manager's frame is known only once the window is on the
    // screen, and framing it need not move it: look again before painting.
    if (event->type() == QEvent::Paint) fitToFrame();
    return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A menu bar shows no hover text for its entries by itself; "?" has one
    // that names its key.
    if (watched == menuBar() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QAction* entry = menuBar()->actionAt(help->pos());
        if (entry != nullptr && entry->toolTip() != entry->iconText()) {
            QToolTip::showText(help->globalPos(), entry->toolTip(), menuBar());
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fitToFrame();
}

void MainWindow::fitToFrame() {
    applyOuterHeight();
    keepAskedPlace();
}

}  // namespace kestrow::ui
