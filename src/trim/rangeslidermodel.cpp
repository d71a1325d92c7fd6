#include "trim/rangeslidermodel.h"

#include "core/timetext.h"

#include <algorithm>
#include <climits>

TmkRangeSliderModel::TmkRangeSliderModel()
    : m_shapes(MakeThumbShapes(m_thumbStyle, m_orientation, m_tickStyle)) {}

void TmkRangeSliderModel::beforeChange() {
    if (OnBeforeChange)
        OnBeforeChange();
}

void TmkRangeSliderModel::changed() {
    if (m_notify && OnChange)
        OnChange();
}

void TmkRangeSliderModel::clampPositions() {
    m_minPosition = std::max(m_minPosition, m_min);
    m_maxPosition = std::max(m_maxPosition, m_min);
    m_minPosition = std::min(m_minPosition, m_max);
    m_maxPosition = std::min(m_maxPosition, m_max);
}

void TmkRangeSliderModel::setMin(int value) {
    if (value >= m_max)
        throw EmkRangeSlider(QStringLiteral("Min >= Max"));
    m_min = value;
    beforeChange();
    clampPositions();
    RepaintWhole();
    if (OnMinChange)
        OnMinChange(m_min);
    changed();
}

void TmkRangeSliderModel::setMax(int value) {
    if (value <= m_min)
        throw EmkRangeSlider(QStringLiteral("Max <= Min"));
    m_max = value;
    beforeChange();
    clampPositions();
    RepaintWhole();
    if (OnMaxChange)
        OnMaxChange(m_max);
    changed();
}

void TmkRangeSliderModel::setMinPosition(int value) {
    if (value == m_minPosition)
        return;
    beforeChange();
    m_minPosition = std::clamp(value, m_min, m_maxPosition);
    ThumbMoved(Thumb::Min);
    if (OnMinPosChange)
        OnMinPosChange(m_minPosition);
    changed();
}

void TmkRangeSliderModel::setMaxPosition(int value) {
    if (value == m_maxPosition)
        return;
    beforeChange();
    m_maxPosition = std::clamp(value, m_minPosition, m_max);
    ThumbMoved(Thumb::Max);
    if (OnMaxPosChange)
        OnMaxPosChange(m_maxPosition);
    changed();
}

void TmkRangeSliderModel::setFrequency(int value) {
    if (value < 0 || value == m_frequency)
        return;
    beforeChange();
    m_frequency = value;
    RepaintWhole();
}

void TmkRangeSliderModel::setOrientation(TmkOrientation value) {
    if (value == m_orientation)
        return;
    beforeChange();
    m_orientation = value;
    rebuildThumbs(true);
}

void TmkRangeSliderModel::setTickStyle(TmkTickStyle value) {
    if (value == m_tickStyle)
        return;
    beforeChange();
    m_tickStyle = value;
    rebuildThumbs(false);
}

void TmkRangeSliderModel::setThumbStyle(TmkThumbStyle value) {
    if (value == m_thumbStyle)
        return;
    beforeChange();
    m_thumbStyle = value;
    rebuildThumbs(false);
}

void TmkRangeSliderModel::rebuildThumbs(bool turned) {
    m_shapes = MakeThumbShapes(m_thumbStyle, m_orientation, m_tickStyle);
    ThumbsRebuilt(turned);
}

const TmkPointsArray& TmkRangeSliderModel::ThumbShape(Thumb thumb) const {
    return thumb == Thumb::Min ? m_shapes.minThumb : m_shapes.maxThumb;
}

QSize TmkRangeSliderModel::Layout(QSize control) {
    int length = 0;
    if (OnGetRullerLength) {
        length = m_rulerLength;
        OnGetRullerLength(length);
        length = std::max(length, 30);
    }
    const TmkPointsArray& thumb = m_shapes.minThumb;
    const QSize thumbSize = thumb.size();
    constexpr int half = TrackThickness / 2;
    if (m_orientation == rsHorizontal) {
        const int w = thumbSize.width();
        if (length > 0)
            control.setWidth(2 * w + length + 6);
        else
            length = std::max(0, control.width() - 2 * w - 6); // a squeezed control has no track
        const int top = thumb.HotSpot.y() > half ? thumb.HotSpot.y() - half + 2 : 2;
        m_track = QRect(w + 3, top, length, TrackThickness);
    } else {
        const int h = thumbSize.height();
        if (length > 0)
            control.setHeight(2 * h + length + 6);
        else
            length = std::max(0, control.height() - 2 * h - 6);
        const int left = thumb.HotSpot.x() > half ? thumb.HotSpot.x() - half + 2 : 2;
        m_track = QRect(left, h + 3, TrackThickness, length);
    }
    m_rulerLength = length;
    return control;
}

double TmkRangeSliderModel::PixelsPerUnit() const {
    return double(m_rulerLength) / (double(m_max) - double(m_min));
}

int TmkRangeSliderModel::PositionToPixel(int value) const {
    return int(RoundHalfEven((double(value) - m_min) * PixelsPerUnit()));
}

int TmkRangeSliderModel::PixelToPosition(int pixel) const {
    const double perUnit = PixelsPerUnit();
    if (perUnit <= 0)
        return m_min; // no track to point at
    const long long value = RoundHalfEven(pixel / perUnit) + m_min;
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

QPoint TmkRangeSliderModel::ThumbAnchor(Thumb thumb) const {
    // The min thumb ends one pixel before its position, so equal positions meet edge to edge.
    const int pixel =
        thumb == Thumb::Min ? PositionToPixel(m_minPosition) - 1 : PositionToPixel(m_maxPosition);
    if (m_orientation == rsHorizontal)
        return {m_track.left() + pixel, m_track.top() + m_track.height() / 2};
    return {m_track.left() + m_track.width() / 2, m_track.top() + pixel};
}

int TmkRangeSliderModel::TickStep() const {
    if (m_frequency > 0)
        return m_frequency;
    // 1, 2, 5, 10, 20, 50, ...: the first that puts ticks at least 5 pixels apart. A track too
    // short for that gets one step as wide as the range rather than an endless search.
    const long long range = (long long)m_max - m_min;
    static constexpr int factors[] = {1, 2, 5};
    for (long long power = 1;; power *= 10) {
        for (int factor : factors) {
            const long long step = factor * power;
            if ((long long)m_rulerLength * step / range >= 5 || step >= range)
                return int(std::min<long long>(step, INT_MAX));
        }
    }
}

QList<TmkTick> TmkRangeSliderModel::Ticks() const {
    const long long step = TickStep();
    const long long large = step >= 100 ? 1000 : step >= 10 ? 100 : 10;
    QList<TmkTick> ticks;
    for (long long v = m_min - (m_min % step); v < m_max; v += step)
        ticks << TmkTick{PositionToPixel(int(v)), v % large == 0};
    return ticks;
}

void TmkRangeSliderModel::BeginDrag(Thumb thumb, int coordinate) {
    const int position = thumb == Thumb::Min ? m_minPosition : m_maxPosition;
    m_drag = {true,          thumb,        coordinate, PositionToPixel(position) - coordinate,
              m_minPosition, m_maxPosition};
    m_notify = false;
}

void TmkRangeSliderModel::DragTo(int coordinate, bool shift) {
    if (!m_drag.active)
        return;
    const bool minThumb = m_drag.thumb == Thumb::Min;
    // Back at the press point the thumb takes its value again: a pixel spans several units,
    // and a drag that ends where it began changes nothing.
    const int value = coordinate == m_drag.pressCoordinate
                          ? (minThumb ? m_drag.startMinPosition : m_drag.startMaxPosition)
                          : PixelToPosition(coordinate + m_drag.grabOffset);
    if (shift)
        moveSpan(value - (minThumb ? m_minPosition : m_maxPosition));
    else if (minThumb)
        setMinPosition(value);
    else
        setMaxPosition(value);
}

void TmkRangeSliderModel::EndDrag() {
    if (!m_drag.active)
        return;
    m_drag.active = false;
    m_notify = true;
    if (m_minPosition != m_drag.startMinPosition || m_maxPosition != m_drag.startMaxPosition) {
        if (OnChange)
            OnChange();
    }
}

void TmkRangeSliderModel::KeyPressed() {
    m_notify = true;
}

void TmkRangeSliderModel::MoveByArrow(ArrowKey key, bool ctrl, bool shift) {
    const int d = m_orientation == rsHorizontal ? 1 : -1;
    const int step = key == ArrowKey::Up || key == ArrowKey::Right ? d : -d;
    if (shift)
        moveSpan(step);
    else if (ctrl)
        setMaxPosition(m_maxPosition + step);
    else
        setMinPosition(m_minPosition + step);
}

void TmkRangeSliderModel::moveSpan(int delta) {
    delta = std::clamp(delta, m_min - m_minPosition, m_max - m_maxPosition);
    const int newMin = m_minPosition + delta;
    const int newMax = m_maxPosition + delta;
    // The leading thumb goes first, so the other is never clamped against it.
    if (delta > 0) {
        setMaxPosition(newMax);
        setMinPosition(newMin);
    } else if (delta < 0) {
        setMinPosition(newMin);
        setMaxPosition(newMax);
    }
}
