#pragma once

#include "trim/rangeslidermodel.h"

#include <QPixmap>
#include <QRect>

class QPalette;

// One thumb of the range slider: its bevelled picture, the hot spot that sits on the thumb's
// position, and what the picture covered where it was last drawn, so a moving thumb touches
// only its own rectangle.
class TmkThumbBitmap {
public:
    // Transparent, with no slider, hot spot (0, 0) and nothing saved.
    TmkThumbBitmap() = default;
    // One of `slider`'s two thumbs.
    TmkThumbBitmap(const TmkRangeSliderModel* slider, TmkRangeSliderModel::Thumb thumb);

    const TmkRangeSliderModel* Slider() const { return m_slider; }
    QPoint HotSpot() const { return m_hotSpot; }
    const QPixmap& Picture() const { return m_picture; }
    QRect LastRect() const { return m_lastRect; } // empty until first drawn

    // Paints the shape in the button face colour with a one-pixel bevel: highlight on the top
    // and left edges, shadow on the bottom and right.
    void Build(const TmkPointsArray& shape, const QPalette& palette);

    // The saved background is stale (the canvas was painted afresh): take it anew next time.
    void MarkForRecapture() { m_recapture = true; }

    // Draws the thumb at its slider's current position onto `canvas`, first putting back what
    // it covered at its last place. Returns the area of the canvas that changed. Throws
    // EmkRangeSlider "Slider not assigned to bitmap" for a thumb that belongs to no slider.
    QRect Draw(QPixmap& canvas);

private:
    const TmkRangeSliderModel* m_slider = nullptr;
    TmkRangeSliderModel::Thumb m_thumb = TmkRangeSliderModel::Thumb::Min;
    QPoint m_hotSpot;
    QPixmap m_picture;
    QPixmap m_background;
    QRect m_lastRect;
    bool m_recapture = false;
};
