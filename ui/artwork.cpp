#include "artwork.h"

#include <QIcon>

// The resources live in a static library: the linker keeps them only when
// something names their initialiser, which has to be outside any namespace.
static void InitArtwork() { Q_INIT_RESOURCE(kestrow); }

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

QIcon SunIcon() { return QIcon(Path("sun.png")); }

QPixmap Photograph() { return QPixmap(Path("photo.jpg")); }

QPixmap Banner() { return QPixmap(Path("banner.png")); }

QPixmap MailIcon() {
    // The file holds 32 x 32 and 16 x 16; the window shows the larger.
    return QIcon(Path("mail.ico")).pixmap(32, 32);
}

QPixmap DonationButton() { return QPixmap(Path("donate.png")); }

QCursor HandCursor() { return QCursor(QPixmap(Path("hand.png")), kHotSpotX, kHotSpotY); }

}  // namespace kestrow::ui
