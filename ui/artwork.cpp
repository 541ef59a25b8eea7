// SPDX-License-Identifier: MIT
#include "artwork.h"

#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: the linker keeps them only when
// something names their initialiser, which has to be outside any namespace.
static void initArtwork() {
    Q_INIT_RESOURCE(kestrow);
    Q_INIT_RESOURCE(icons);
}

namespace kestrow::ui {
namespace {

QString path(const char* name) {
    static const bool initialised = (initArtwork(), true);
    (void)initialised;
    return QStringLiteral(":/kestrow/") + QLatin1String(name);
}

// The picture drawn at `size` device-independent pixels, with as many device
// pixels as the screen has for them.
QPixmap drawn(const char* name, QSize size, qreal devicePixelRatio) {
    QSvgRenderer renderer(path(name));
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

QIcon sunIcon() {
    // Given with their sizes, the files are only read when a size is drawn.
    // On X11 the toolkit draws every size of a window icon when the window is
    // made, and the 128 and 256 px ones cost a quarter more start-up CPU
    // time; desktops take those from the installed icon theme instead.
    QIcon icon(path("sun.png"));
    for (const int size : {32, 48, 64}) {
        icon.addFile(path("icons/kestrow-") + QString::number(size) + QStringLiteral(".png"),
                     QSize(size, size));
    }
    return icon;
}

QPixmap photograph(QSize size, qreal devicePixelRatio) {
    return drawn("photo.svg", size, devicePixelRatio);
}

QPixmap banner(qreal devicePixelRatio) {
    return drawn("banner.svg", QSize(150, 35), devicePixelRatio);
}

QPixmap mailIcon(qreal devicePixelRatio, int size) {
    // The small one is drawn on its own, with fewer lines, rather than shrunk.
    return drawn(size <= 16 ? "mail16.svg" : "mail.svg", QSize(size, size), devicePixelRatio);
}

QPixmap donationButton(qreal devicePixelRatio) {
    return drawn("donate.svg", QSize(57, 25), devicePixelRatio);
}

QCursor handCursor() { return QCursor(QPixmap(path("hand.png")), kHotSpotX, kHotSpotY); }

}  // namespace kestrow::ui
