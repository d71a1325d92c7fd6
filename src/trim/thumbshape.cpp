#include "trim/thumbshape.h"

#include <algorithm>

QSize TmkPointsArray::size() const {
    int width = 0;
    int height = 0;
    for (const QPoint& p : Points) {
        width = std::max(width, p.x() + 1);
        height = std::max(height, p.y() + 1);
    }
    return {width, height};
}

TmkPointsArray BaseThumbShape(TmkThumbStyle style) {
    switch (style) {
    case rsTriangle:
        return {{3, 3}, {{3, 0}, {3, 6}, {0, 3}}};
    case rsCorner:
        return {{6, 3}, {{0, 0}, {6, 0}, {6, 6}}};
    case rsArrow:
        return {{7, 4}, {{0, 3}, {3, 3}, {3, 0}, {7, 4}, {3, 8}, {3, 5}, {0, 5}}};
    case rsStandard:
    default:
        return {{3, 3}, {{0, 0}, {3, 0}, {3, 7}, {0, 4}}};
    }
}

namespace {

QPoint turned(QPoint p, int quarterTurns) {
    switch (quarterTurns & 3) {
    case 1:
        return {-p.y(), p.x()};
    case 2:
        return {-p.x(), -p.y()};
    case 3:
        return {p.y(), -p.x()};
    default:
        return p;
    }
}

} // namespace

TmkPointsArray TransformThumbShape(TmkPointsArray shape, bool mirrored, int quarterTurns) {
    if (mirrored) {
        shape.HotSpot.setX(-shape.HotSpot.x());
        for (QPoint& p : shape.Points)
            p.setX(-p.x());
        std::reverse(shape.Points.begin(), shape.Points.end());
    }
    shape.HotSpot = turned(shape.HotSpot, quarterTurns);
    for (QPoint& p : shape.Points)
        p = turned(p, quarterTurns);

    int minX = 0;
    int minY = 0;
    for (const QPoint& p : std::as_const(shape.Points)) {
        minX = std::min(minX, p.x());
        minY = std::min(minY, p.y());
    }
    const QPoint shift(-minX, -minY);
    shape.HotSpot = (shape.HotSpot + shift) * ThumbScale;
    for (QPoint& p : shape.Points)
        p = (p + shift) * ThumbScale;
    return shape;
}

TmkThumbShapes MakeThumbShapes(TmkThumbStyle style, TmkOrientation orientation,
                               TmkTickStyle tickStyle) {
    int turns = 0;
    bool minMirrored = false;
    if (orientation == rsHorizontal && tickStyle == rsBottomRight) {
        turns = 0;
        minMirrored = false;
    } else if (orientation == rsHorizontal) {
        turns = 2;
        minMirrored = true;
    } else if (tickStyle == rsBottomRight) {
        turns = 3;
        minMirrored = true;
    } else {
        turns = 1;
        minMirrored = false;
    }
    const TmkPointsArray base = BaseThumbShape(style);
    return {TransformThumbShape(base, minMirrored, turns),
            TransformThumbShape(base, !minMirrored, turns)};
}
