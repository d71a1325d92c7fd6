#include "trim/trimartwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>

namespace {

const QColor Deep(0x1f, 0x4e, 0x8c);
const QColor Bright(0x7f, 0xb2, 0xef);

QPixmap halfPointer(bool mirrored) {
    QPixmap picture(10, 22);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    if (mirrored) {
        painter.translate(9, 0);
        painter.scale(-1, 1);
    }
    QLinearGradient fill(0, 0, 0, 22);
    fill.setColorAt(0, Bright);
    fill.setColorAt(1, Deep);
    painter.setBrush(fill);
    painter.setPen(Deep);
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(9, 0), QPoint(9, 21), QPoint(0, 12)}));
    return picture;
}

QIcon arrow(bool pointsLeft) {
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Deep);
    const QPolygon triangle = pointsLeft ? QPolygon({QPoint(4, 8), QPoint(11, 3), QPoint(11, 13)})
                                         : QPolygon({QPoint(12, 8), QPoint(5, 3), QPoint(5, 13)});
    painter.drawPolygon(triangle);
    return QIcon(glyph);
}

} // namespace

namespace TrimArtwork {

QPixmap startThumb() {
    return halfPointer(false);
}

QPixmap endThumb() {
    return halfPointer(true);
}

QPixmap range() {
    QPixmap picture(73, 13);
    QPainter painter(&picture);
    QLinearGradient fill(0, 0, 0, 13);
    fill.setColorAt(0, Bright);
    fill.setColorAt(0.5, Deep.lighter(130));
    fill.setColorAt(1, Deep);
    painter.fillRect(picture.rect(), fill);
    return picture;
}

QIcon widenEarlier() {
    return arrow(true);
}

QIcon widenLater() {
    return arrow(false);
}

} // namespace TrimArtwork
