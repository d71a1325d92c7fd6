#include "trim/thumbbitmap.h"

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPolygon>

TmkThumbBitmap::TmkThumbBitmap(const TmkRangeSliderModel* slider, TmkRangeSliderModel::Thumb thumb)
    : m_slider(slider), m_thumb(thumb) {}

namespace {

void fillPolygon(QImage& image, const QPolygon& polygon, const QColor& colour,
                 QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver) {
    QPainter painter(&image);
    painter.setCompositionMode(mode);
    painter.setPen(colour);
    painter.setBrush(colour);
    painter.drawPolygon(polygon);
}

} // namespace

void TmkThumbBitmap::Build(const TmkPointsArray& shape, const QPalette& palette) {
    const QSize size = shape.size();
    const QPolygon polygon(shape.Points);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    fillPolygon(image, polygon, palette.color(QPalette::Button));

    // Each pass leaves a one-pixel edge on the side away from the shift.
    struct Edge {
        QPalette::ColorRole colour;
        QPoint shift;
    };
    static constexpr Edge edges[] = {{QPalette::Light, {0, 1}},
                                     {QPalette::Light, {1, 0}},
                                     {QPalette::Dark, {0, -1}},
                                     {QPalette::Dark, {-1, 0}}};
    for (const Edge& edge : edges) {
        QImage scratch(size, QImage::Format_ARGB32_Premultiplied);
        scratch.fill(Qt::transparent);
        fillPolygon(scratch, polygon, palette.color(edge.colour));
        fillPolygon(scratch, polygon.translated(edge.shift), Qt::black,
                    QPainter::CompositionMode_Clear);
        QPainter(&image).drawImage(0, 0, scratch);
    }
    m_picture = QPixmap::fromImage(image);
    m_hotSpot = shape.HotSpot;
}

QRect TmkThumbBitmap::Draw(QPixmap& canvas) {
    if (!m_slider)
        throw EmkRangeSlider(QStringLiteral("Slider not assigned to bitmap"));
    const QRect rect(m_slider->ThumbAnchor(m_thumb) - m_hotSpot, m_picture.size());
    QRect changed = rect;
    if (!m_recapture && !m_lastRect.isEmpty()) {
        QPainter(&canvas).drawPixmap(m_lastRect.topLeft(), m_background);
        changed |= m_lastRect;
    }
    m_recapture = false;
    m_background = rect.isEmpty() ? QPixmap() : canvas.copy(rect);
    m_lastRect = rect;
    QPainter(&canvas).drawPixmap(rect.topLeft(), m_picture);
    return changed;
}
