#include "app/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

const QColor Accent(49, 106, 197);

QPixmap imageButton(const QString& text, const QColor& base, int state) {
    QPixmap pixmap(188, 58);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor face = state == 1 ? base.lighter(120) : state == 2 ? base.darker(120) : base;
    const QRectF body(3, 3 + (state == 2 ? 2 : 0), 127, 50);
    QLinearGradient gradient(body.topLeft(), body.bottomLeft());
    gradient.setColorAt(0, face.lighter(135));
    gradient.setColorAt(1, face.darker(115));
    QPainterPath path;
    path.addRoundedRect(body, 12, 12);
    p.fillPath(path, gradient);
    p.setPen(QPen(face.darker(160), 1.5));
    p.drawPath(path);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(body, Qt::AlignCenter, text);
    return pixmap;
}

QPixmap drawIcon(int size, const std::function<void(QPainter&, const QRectF&)>& draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, QRectF(0, 0, size, size));
    return pixmap;
}

void drawDisc(QPainter& p, const QRectF& r) {
    const QRectF disc =
        r.adjusted(r.width() * 0.08, r.height() * 0.08, -r.width() * 0.08, -r.height() * 0.08);
    QRadialGradient g(disc.center(), disc.width() / 2);
    g.setColorAt(0, QColor(230, 235, 245));
    g.setColorAt(0.6, QColor(170, 190, 225));
    g.setColorAt(1, QColor(120, 140, 190));
    p.setPen(QPen(QColor(80, 90, 120), r.width() / 40.0));
    p.setBrush(g);
    p.drawEllipse(disc);
    p.setBrush(Qt::white);
    const qreal hole = disc.width() * 0.18;
    p.drawEllipse(disc.center(), hole, hole);
}

} // namespace

QPixmap Artwork::startButton(int state) {
    return imageButton(QStringLiteral("Start"), QColor(52, 150, 70), state);
}

QPixmap Artwork::stopButton(int state) {
    return imageButton(QStringLiteral("Stop"), QColor(190, 55, 45), state);
}

QPixmap Artwork::background(const QSize& size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(250, 251, 254));
    g.setColorAt(1, QColor(214, 224, 242));
    p.fillRect(pixmap.rect(), g);
    return pixmap;
}

QPixmap Artwork::avatar() {
    return drawIcon(160, drawDisc);
}

QPixmap Artwork::headerTile() {
    QPixmap pixmap(16, 17);
    QPainter p(&pixmap);
    QLinearGradient g(0, 0, 0, 17);
    g.setColorAt(0, QColor(252, 252, 252));
    g.setColorAt(1, QColor(218, 222, 230));
    p.fillRect(pixmap.rect(), g);
    return pixmap;
}

QIcon Artwork::titleIcon() {
    return QIcon(drawIcon(16, drawDisc));
}

QIcon Artwork::chapterIcon() {
    return QIcon(drawIcon(16, [](QPainter& p, const QRectF& r) {
        p.setPen(QPen(Accent.darker(130), 1));
        p.setBrush(QColor(220, 230, 250));
        p.drawRect(r.adjusted(3, 2, -3, -2));
        p.drawLine(QPointF(5, 6), QPointF(11, 6));
        p.drawLine(QPointF(5, 9), QPointF(11, 9));
    }));
}

QIcon Artwork::commandIcon(const QString& name) {
    return QIcon(drawIcon(32, [&](QPainter& p, const QRectF& r) {
        p.setPen(QPen(Accent.darker(140), 2));
        if (name == QLatin1String("open-dvd")) {
            drawDisc(p, r);
        } else if (name == QLatin1String("open-dir")) {
            p.setBrush(QColor(240, 200, 90));
            p.drawRoundedRect(r.adjusted(3, 8, -3, -5), 3, 3);
            p.drawRect(QRectF(3, 5, 11, 5));
        } else if (name == QLatin1String("settings")) {
            p.setBrush(QColor(200, 205, 215));
            p.drawEllipse(r.center(), 11, 11);
            p.setBrush(Qt::white);
            p.drawEllipse(r.center(), 4, 4);
        } else { // segment
            p.setBrush(QColor(200, 220, 250));
            p.drawRect(r.adjusted(3, 11, -3, -11));
            p.setBrush(Accent);
            p.drawRect(QRectF(9, 7, 4, 18));
            p.drawRect(QRectF(19, 7, 4, 18));
        }
    }));
}

QIcon Artwork::smallIcon(const QString& name) {
    return QIcon(drawIcon(16, [&](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        p.setBrush(Accent);
        if (name == QLatin1String("play")) {
            p.drawPolygon(QPolygonF({QPointF(4, 3), QPointF(13, 8), QPointF(4, 13)}));
        } else if (name == QLatin1String("pause")) {
            p.drawRect(QRectF(4, 3, 3, 10));
            p.drawRect(QRectF(9, 3, 3, 10));
        } else if (name == QLatin1String("stop")) {
            p.drawRect(QRectF(4, 4, 8, 8));
        } else {
            p.drawEllipse(r.adjusted(1, 1, -1, -1));
            p.setPen(Qt::white);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(10);
            font.setBold(true);
            p.setFont(font);
            const QString glyph = name == QLatin1String("help")    ? QStringLiteral("?")
                                  : name == QLatin1String("about") ? QStringLiteral("i")
                                                                   : QStringLiteral("w");
            p.drawText(r, Qt::AlignCenter, glyph);
        }
    }));
}

QIcon Artwork::applicationIcon() {
    return QIcon(avatar());
}
