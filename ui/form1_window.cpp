// SPDX-License-Identifier: MIT
#include "form1_window.h"

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
#include "artwork.h"
#include "contrast.h"
#include "fonts.h"
#include "twips.h"

namespace kestrow::ui {
namespace {

constexpr int kClientWidth = 2835;  // twips
constexpr int kClientHeight = 3315;

const QColor kDarkGrey(64, 64, 64);
const QColor kGrey(128, 128, 128);

QString Text(const std::string& text) { return QString::fromStdString(text); }

QFont HeadingFont() { return BoldFont(9.75); }

// A tooltip is shown as rich text whenever Qt guesses it might be; a text
// that could be taken so is escaped, so that it reads as it stands.
QString PlainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
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
QFont FontToFit(const QLabel* label, const QStringList& texts, int lines = 1) {
    const QSize room = label->contentsRect().adjusted(1, 1, -1, -1).size();
    return FittedFont(label->font(), texts, room, lines);
}

void FitText(QLabel* label, const QStringList& texts) { label->setFont(FontToFit(label, texts)); }

void SetBoxed(QLabel* label) { label->setFrameStyle(QFrame::Box | QFrame::Plain); }

QLineEdit* MakeBox(QWidget* parent, const char* name, const QString& text, const QRect& place,
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

Form1Window::Form1Window(DesktopShell& shell, const Clock& clock, const UserLocale& locale,
                         std::ostream& errors, std::filesystem::path settingsPath,
                         QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      shell_(shell),
      logic_(*this, clock, locale, errors, std::move(settingsPath)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kestrow"));
    setWindowIcon(SunIcon());
    setFont(DefaultFont());

    BuildMenu();
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    BuildBand(client);
    BuildFrame(client);

    const QRect designed = TwipsRect(0, 0, kClientWidth, kClientHeight);
    setFixedSize(designed.width(), menuBar()->sizeHint().height() + designed.height());

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(Form1::kTimerIntervalMs);
    timer1_->setTimerType(Qt::VeryCoarseTimer);

    ConnectLogic();
    logic_.Form_Load();
    timer1_->start();
}

Form1Window::~Form1Window() {
    // Gone before the logic is: nothing they do on the way out may reach it.
    delete about_.data();
    // Parentless, so not deleted with the window otherwise.
    delete message_.data();
}

void Form1Window::BuildMenu() {
    // Top-level entries with no menus under them: choosing one runs it at once.
    // Alt+S through the underlined S; F1 has no letter to underline, so the
    // entry tells it in its hover text (screen readers get both keys from
    // the entries themselves).
    setup_ = new QAction(QStringLiteral("&Setup"), this);
    setup_->setObjectName(QStringLiteral("Setup"));
    pointIntero_ = new QAction(QStringLiteral("?"), this);
    pointIntero_->setObjectName(QStringLiteral("pointIntero"));
    pointIntero_->setShortcut(QKeySequence(Qt::Key_F1));
    pointIntero_->setToolTip(QStringLiteral("About Kestrow (F1)"));
    menuBar()->addAction(setup_);
    menuBar()->addAction(pointIntero_);
    menuBar()->installEventFilter(this);  // for the entries' hover texts
}

void Form1Window::BuildBand(QWidget* client) {
    label1_ = MakeLabel(client, "Label1", QStringLiteral("Lever"), TwipsRect(240, 0, 615, 255),
                        Qt::AlignLeft);
    label1_->setFont(HeadingFont());

    label2_ = MakeLabel(client, "Label2", QStringLiteral("Coucher"), TwipsRect(940, 0, 855, 255),
                        Qt::AlignLeft);
    label2_->setFont(HeadingFont());

    label3_ = MakeLabel(client, "Label3", QStringLiteral("Durée"), TwipsRect(2040, 0, 495, 255),
                        Qt::AlignHCenter);
    SetDesignedTextColour(label3_, kDarkGrey, kTextContrast);

    labelLever_ = MakeLabel(client, "Label_Lever", QStringLiteral("00 h 00"),
                            TwipsRect(120, 340, 855, 285), Qt::AlignHCenter);
    labelLever_->setFont(HeadingFont());
    SetBoxed(labelLever_);

    labelCoucher_ = MakeLabel(client, "Label_coucher", QStringLiteral("00 h 00"),
                              TwipsRect(960, 340, 855, 285), Qt::AlignHCenter);
    labelCoucher_->setFont(HeadingFont());
    SetBoxed(labelCoucher_);

    labelDuree_ = MakeLabel(client, "Label_duree", QStringLiteral("00 h 00"),
                            TwipsRect(1920, 240, 735, 320), Qt::AlignHCenter);
    SetDesignedTextColour(labelDuree_, kDarkGrey, kTextContrast);
    SetBoxed(labelDuree_);

    // Made after Label_duree, so it is drawn over that label's lower edge.
    label4_ = MakeLabel(client, "Label4", QStringLiteral("Label4"), TwipsRect(1920, 480, 735, 255),
                        Qt::AlignHCenter);
    label4_->setFont(SmallItalicFont());
    SetDesignedTextColour(label4_, kGrey, kGreyContrast);
    SetBoxed(label4_);
    label4_->setToolTip(QStringLiteral("Ce jour/ today"));

    const QStringList times{QStringLiteral("00 h 00")};
    FitText(label1_, {label1_->text()});
    FitText(label2_, {label2_->text()});
    FitText(label3_, {label3_->text()});
    for (QLabel* value : {labelLever_, labelCoucher_, labelDuree_}) FitText(value, times);
    FitText(label4_, {QStringLiteral("+ 59 s"), QStringLiteral("- 59 mn")});
}

void Form1Window::BuildFrame(QWidget* client) {
    frame1_ = new QGroupBox(QStringLiteral("Degrés décimaux"), client);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(TwipsRect(120, 1080, 2655, 1455));

    textLatitude_ = MakeBox(frame1_, "TextLatitude", QStringLiteral("00,00"),
                            TwipsRect(120, 360, 735, 285), 6, QStringLiteral("Lat"));
    commandSauve_ = new QPushButton(QStringLiteral("OK"), frame1_);
    commandSauve_->setObjectName(QStringLiteral("CommandSauve"));
    commandSauve_->setGeometry(TwipsRect(1920, 360, 615, 375));
    commandSauve_->setDefault(true);
    textLongitude_ = MakeBox(frame1_, "TextLongitude", QStringLiteral("000,00"),
                             TwipsRect(960, 360, 735, 285), 7, QStringLiteral("Long"));

    QLabel* latitudeCaption = MakeLabel(frame1_, "LabelLatitude", QStringLiteral("Latitude"),
                                        TwipsRect(120, 720, 735, 255), Qt::AlignHCenter);
    QLabel* longitudeCaption = MakeLabel(frame1_, "Labellongitude", QStringLiteral("Longitude"),
                                         TwipsRect(960, 720, 735, 255), Qt::AlignHCenter);
    label5_ = MakeLabel(frame1_, "Label5", QStringLiteral("Sud = negative"),
                        TwipsRect(120, 960, 735, 375), Qt::AlignHCenter);
    label6_ = MakeLabel(frame1_, "Label6", QStringLiteral("Ouest = negative"),
                        TwipsRect(960, 960, 735, 375), Qt::AlignHCenter);
    // The palette's disabled-text colour, so that the hints follow the scheme.
    for (QLabel* hint : {label5_, label6_}) SetDesignedTextColour(hint, QColor(), kGreyContrast);
    // Both captions and both hints share a size, the one the longest needs.
    const QFont caption = FontToFit(longitudeCaption, {latitudeCaption->text(), longitudeCaption->text()});
    for (QLabel* label : {latitudeCaption, longitudeCaption}) label->setFont(caption);
    const QFont hint = FontToFit(label6_, {label5_->text(), label6_->text()}, 2);
    for (QLabel* label : {label5_, label6_}) label->setFont(hint);

    // A screen reader names each box after its caption and reads the sign
    // rule under it, rather than the frame's title for both.
    latitudeCaption->setBuddy(textLatitude_);
    longitudeCaption->setBuddy(textLongitude_);
    textLatitude_->setAccessibleName(latitudeCaption->text());
    textLongitude_->setAccessibleName(longitudeCaption->text());
    textLatitude_->setAccessibleDescription(label5_->text());
    textLongitude_->setAccessibleDescription(label6_->text());

    // Only the two boxes and the button take the keyboard focus, in this order.
    setTabOrder(textLatitude_, commandSauve_);
    setTabOrder(commandSauve_, textLongitude_);
}

void Form1Window::ConnectLogic() {
    connect(setup_, &QAction::triggered, this, [this] { logic_.Setup_Click(); });
    connect(pointIntero_, &QAction::triggered, this, [this] { logic_.pointIntero_Click(); });
    connect(commandSauve_, &QPushButton::clicked, this, [this] { logic_.CommandSauve_Click(); });
    connect(timer1_, &QTimer::timeout, this, [this] { logic_.Timer1_Timer(); });
    // textChanged comes for typing and for setText alike, and only when the
    // text really changes: the handlers rely on both.
    connect(textLatitude_, &QLineEdit::textChanged, this, [this] { logic_.TextLatitude_Change(); });
    connect(textLongitude_, &QLineEdit::textChanged, this,
            [this] { logic_.TextLongitude_Change(); });
    // Enter in a box is a click on the default button, as in a dialog.
    for (QLineEdit* box : {textLatitude_, textLongitude_}) {
        connect(box, &QLineEdit::returnPressed, commandSauve_, &QPushButton::click);
    }
}

QLabel* Form1Window::LabelFor(Form1Label label) const {
    switch (label) {
        case Form1Label::Lever:
            return labelLever_;
        case Form1Label::Label1:
            return label1_;
        case Form1Label::Coucher:
            return labelCoucher_;
        case Form1Label::Label2:
            return label2_;
        case Form1Label::Duree:
            return labelDuree_;
        case Form1Label::Label3:
            return label3_;
        case Form1Label::Label4:
            return label4_;
    }
    return label4_;
}

QLineEdit* Form1Window::BoxFor(Form1Box box) const {
    return box == Form1Box::Latitude ? textLatitude_ : textLongitude_;
}

void Form1Window::SetLabelText(Form1Label label, const std::string& text) {
    QLabel* shown = LabelFor(label);
    shown->setText(Text(text));
    // A bare "8 h 31" says nothing to a screen reader: name the value as
    // well. Setting the name tells the reader it changed.
    const char* what = nullptr;
    switch (label) {
        case Form1Label::Lever: what = "Sunrise "; break;
        case Form1Label::Coucher: what = "Sunset "; break;
        case Form1Label::Duree: what = "Length of day "; break;
        case Form1Label::Label4: what = "Change since yesterday "; break;
        default: break;
    }
    if (what != nullptr) shown->setAccessibleName(QLatin1String(what) + shown->text());
}

void Form1Window::SetToolTip(Form1Label label, const std::string& text) {
    LabelFor(label)->setToolTip(PlainToolTip(Text(text)));
}

void Form1Window::SetCaption(const std::string& caption) { setWindowTitle(Text(caption)); }

void Form1Window::SetOuterHeight(int twips) {
    const bool taller = twips > outerHeightTwips_;
    outerHeightTwips_ = twips;
    ApplyOuterHeight();
    if (taller) KeepOnScreen();
}

void Form1Window::KeepOnScreen() {
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

void Form1Window::ApplyOuterHeight() {
    if (outerHeightTwips_ <= 0) return;
    // Title bar and borders as the window manager draws them; none before the
    // window is shown or where there is no window manager.
    const int decoration = std::max(0, frameGeometry().height() - geometry().height());
    int menu = menuBar()->heightForWidth(width());
    if (menu < 0) menu = menuBar()->sizeHint().height();
    int client = TwipsToPixels(outerHeightTwips_) - decoration - menu;

    // The outer heights were chosen for one platform's title and menu bars.
    // Elsewhere keep what they are meant to show: the band alone, down to the
    // change label, or the band and the whole coordinate frame.
    const int bandBottom = label4_->geometry().bottom() + 1;
    const int frameTop = frame1_->geometry().top();
    const int frameBottom = frame1_->geometry().bottom() + 1;
    const bool compact = client < frameTop + frame1_->height() / 2;
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

int Form1Window::Top() const { return PixelsToTwips(frameGeometry().top()); }

int Form1Window::Left() const { return PixelsToTwips(frameGeometry().left()); }

void Form1Window::Move(int top, int left) {
    askedPlace_ = QPoint(TwipsToPixels(left), TwipsToPixels(top));
    move(*askedPlace_);
}

void Form1Window::KeepAskedPlace() {
    // Placed before it was shown, the window asks for its frame's corner, and
    // some window managers put the inner corner there instead: the window would
    // creep by its border at every start. Once the frame is known, put it right.
    if (!askedPlace_ || !isVisible() || frameGeometry() == geometry()) return;
    const QPoint asked = *askedPlace_;
    askedPlace_.reset();
    if (pos() != asked) move(asked);
}

bool Form1Window::IsPositionVisible(int top, int left) const {
    // The title bar is what the user drags the window by, so all of it must
    // be on the screens. Once the window is framed, its height is the window
    // manager's own; before that (the case at start, when the stored place is
    // applied) it is estimated from the style's title bar height.
    const int framedTitle = geometry().top() - frameGeometry().top();
    const int title =
        framedTitle > 0 ? framedTitle : style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QRect titleBar(TwipsToPixels(left), TwipsToPixels(top), frameGeometry().width(), title);
    QRegion available;
    for (const QScreen* screen : QGuiApplication::screens()) {
        available += screen->availableGeometry();
    }
    return QRegion(titleBar).subtracted(available).isEmpty();
}

bool Form1Window::KnowsPosition() const {
    // A Wayland compositor keeps its windows' places to itself: a program
    // reads only its own decoration's margin there, and cannot move itself.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

std::string Form1Window::BoxText(Form1Box box) const { return BoxFor(box)->text().toStdString(); }

void Form1Window::SetBoxText(Form1Box box, const std::string& text) {
    // setText cuts to the maximum length and signals textChanged, nested,
    // only when the text differs: what the logic's handlers expect of a box.
    BoxFor(box)->setText(Text(text));
}

void Form1Window::SetSelStart(Form1Box box, int position) {
    BoxFor(box)->setCursorPosition(position);
}

void Form1Window::SetFrameFocusable(bool focusable) {
    // Neither hidden nor disabled, so that nothing moves and a screen reader
    // still reads the boxes: only out of the keyboard's reach.
    for (QWidget* control : {static_cast<QWidget*>(textLatitude_),
                             static_cast<QWidget*>(commandSauve_),
                             static_cast<QWidget*>(textLongitude_)}) {
        control->setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
        if (!focusable) control->clearFocus();
    }
}

void Form1Window::FocusBox(Form1Box box) {
    QLineEdit* edit = BoxFor(box);
    if (edit->focusPolicy() != Qt::NoFocus) edit->setFocus();
}

void Form1Window::ShowAbout() {
    if (about_.isNull()) about_ = new AboutWindow(shell_, this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void Form1Window::UnloadAbout() { delete about_.data(); }

void Form1Window::ShowMessage(const std::string& text) {
    if (!message_.isNull()) {
        message_->setText(Text(text));
        message_->raise();
        return;
    }
    // Without a parent, so that a message raised while this window closes is
    // still seen, and the program ends only once it is dismissed.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Kestrow – Erreur / Error"),
                                Text(text), QMessageBox::Ok);
    box->setObjectName(QStringLiteral("Message"));
    // The message may quote the settings file: never markup.
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setWindowIcon(SunIcon());
    message_ = box;
    if (isVisible()) {
        box->adjustSize();
        box->move(frameGeometry().center() - box->rect().center());
    }
    box->show();
}

void Form1Window::closeEvent(QCloseEvent* event) {
    timer1_->stop();
    // A message left from before belongs to the window that is going away;
    // only one raised by the closing itself should outlive it.
    delete message_.data();
    logic_.Form_Unload();
    event->accept();
}

void Form1Window::changeEvent(QEvent* event) {
    // A new colour scheme, light or dark: the colours of the texts follow it.
    if (event->type() == QEvent::PaletteChange) ApplyDesignedTextColours(this);
    QMainWindow::changeEvent(event);
}

bool Form1Window::event(QEvent* event) {
    // The window manager's frame is known only once the window is on the
    // screen, and framing it need not move it: look again before painting.
    if (event->type() == QEvent::Paint) FitToFrame();
    return QMainWindow::event(event);
}

bool Form1Window::eventFilter(QObject* watched, QEvent* event) {
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

void Form1Window::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    FitToFrame();
}

void Form1Window::FitToFrame() {
    ApplyOuterHeight();
    KeepAskedPlace();
}

}  // namespace kestrow::ui
