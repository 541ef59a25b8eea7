#include "artwork.h"

#include <QIcon>

// The resources live in a static library: the linker keeps them only when
// something names their initialiser, which has to be outside any namespace.
static void InitArtwork() {
    Q_INIT_RESOURCE(kestrow);
    Q_INIT_RESOURCE(icons);
}

namespace kestrow::ui {
namespace {

QString Path(const char* name) {
    static const bool initialised = (InitArtwork(), true);
    (void)initialised;
    return QStringLiteral(":/kestrow/") + QLatin1String(name);
}

constexpr int kHotSpotX = 5;
constexpr int kHotSpotY = 0;

}  // namespace

QIcon SunIcon() {
    // Given with their sizes, the files are only read when a size is drawn.
    // On X11 the toolkit draws every size of a window icon when the window is
    // made, and the 128 and 256 px ones cost a quarter more start-up CPU
    // time; desktops take those from the installed icon theme instead.
    QIcon icon(Path("sun.png"));
    for (const int size : {32, 48, 64}) {
        icon.addFile(Path("icons/kestrow-") + QString::number(size) + QStringLiteral(".png"),
                     QSize(size, size));
    }
    return icon;
}

QPixmap Photograph() { return QPixmap(Path("photo.jpg")); }

QPixmap Banner() { return QPixmap(Path("banner.png")); }

QPixmap MailIcon() {
    // The file holds 32 x 32 and 16 x 16; the window shows the larger.
    return QIcon(Path("mail.ico")).pixmap(32, 32);
}

QPixmap DonationButton() { return QPixmap(Path("donate.png")); }

QCursor HandCursor() { return QCursor(QPixmap(Path("hand.png")), kHotSpotX, kHotSpotY); }

}  // namespace kestrow::ui
