// SPDX-License-Identifier: MIT
#include "artwork.h"

#include <QIcon>
#include <QImageReader>
#include <QtDebug>

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

// The picture `name` read in `format` alone. Left to guess, the reader loads
// every image-format plugin there is (GIF, ICO, JPEG and libjpeg, SVG...) to
// ask each whether it reads the file, even a PNG that its own reader reads.
QImage read(const char* name, const char* format, QSize size = QSize()) {
    QImageReader reader(path(name), format);
    reader.setAutoDetectImageFormat(false);
    if (size.isValid()) reader.setScaledSize(size);
    QImage image = reader.read();
    if (image.isNull())
        qWarning("kestrow: cannot read %s: %s", name, qPrintable(reader.errorString()));
    return image;
}

// The picture drawn at `size` device-independent pixels, with as many device
// pixels as the screen has for them. Drawn by the SVG image-format plugin,
// which the About window loads when it opens, rather than by Qt Svg linked
// into the program, which every start would load.
QPixmap drawn(const char* name, QSize size, qreal devicePixelRatio) {
    // At a fractional ratio the picture is a fraction of a pixel off its size.
    const QSize pixels = (QSizeF(size) * devicePixelRatio).toSize();
    QPixmap pixmap = QPixmap::fromImage(read(name, "svg", pixels));
    if (pixmap.isNull()) {  // keeps its place in the layout, empty
        pixmap = QPixmap(pixels);
        pixmap.fill(Qt::transparent);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

constexpr int kHotSpotX = 5;
constexpr int kHotSpotY = 0;

}  // namespace

QIcon sunIcon() {
    // Read here rather than named by file: QIcon would ask the plugins what
    // each file is. On X11 the toolkit draws every size of a window icon when
    // the window is made, and the 128 and 256 px ones cost a quarter more
    // start-up CPU time; desktops take those from the installed icon theme.
    QIcon icon;
    for (const char* name :
         {"sun.png", "icons/kestrow-32.png", "icons/kestrow-48.png", "icons/kestrow-64.png"}) {
        icon.addPixmap(QPixmap::fromImage(read(name, "png")));
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

QCursor handCursor() {
    return QCursor(QPixmap::fromImage(read("hand.png", "png")), kHotSpotX, kHotSpotY);
}

}  // namespace kestrow::ui
