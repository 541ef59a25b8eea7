#include "artwork.h"

#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>

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

// The picture drawn at `size` device-independent pixels, with as many device
// pixels as the screen has for them.
QPixmap Drawn(const char* name, QSize size, qreal devicePixelRatio) {
    QSvgRenderer renderer(Path(name));
    // At a fractional ratio the picture is a fraction of a pixel off its size.
    QPixmap pixmap((QSizeF(size) * devicePixelRatio).toSize());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

constexpr int kHotSpotX = 5;
constexpr int kHotSpotY = 0;

}  // namespace

QIcon SunIcon() { return QIcon(Path("sun.png")); }

QPixmap Photograph(qreal devicePixelRatio) {
    return Drawn("photo.svg", QSize(100, 67), devicePixelRatio);
}

QPixmap Banner(qreal devicePixelRatio) {
    return Drawn("banner.svg", QSize(150, 35), devicePixelRatio);
}

QPixmap MailIcon(qreal devicePixelRatio, int size) {
    // The small one is drawn on its own, with fewer lines, rather than shrunk.
    return Drawn(size <= 16 ? "mail16.svg" : "mail.svg", QSize(size, size), devicePixelRatio);
}

QPixmap DonationButton(qreal devicePixelRatio) {
    return Drawn("donate.svg", QSize(57, 25), devicePixelRatio);
}

QCursor HandCursor() { return QCursor(QPixmap(Path("hand.png")), kHotSpotX, kHotSpotY); }

}  // namespace kestrow::ui
