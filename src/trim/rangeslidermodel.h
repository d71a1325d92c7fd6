#pragma once

#include "trim/rangeslidertypes.h"
#include "trim/thumbshape.h"

#include <QList>
#include <QRect>

#include <functional>

// A tick mark on the track: its pixel along the track and whether it is a large one.
struct TmkTick {
    int pixel = 0;
    bool large = false;
    friend bool operator==(const TmkTick&, const TmkTick&) = default;
};

// Everything of the two-thumb range slider that is not painting: the four values with their
// checks, clamping and notifications, the track layout and its pixel mapping, the tick marks,
// and what dragging and the arrow keys do. The widget overrides the three view hooks.
class TmkRangeSliderModel {
public:
    enum class Thumb { Min, Max };
    enum class ArrowKey { Left, Right, Up, Down };

    static constexpr int TrackThickness = 11;

    TmkRangeSliderModel();
    virtual ~TmkRangeSliderModel() = default;
    TmkRangeSliderModel(const TmkRangeSliderModel&) = delete;
    TmkRangeSliderModel& operator=(const TmkRangeSliderModel&) = delete;

    // --- properties ---
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    int MinPosition() const { return m_minPosition; }
    int MaxPosition() const { return m_maxPosition; }
    int Frequency() const { return m_frequency; } // tick step; 0 picks one
    TmkOrientation Orientation() const { return m_orientation; }
    TmkTickStyle TickStyle() const { return m_tickStyle; }
    TmkThumbStyle ThumbStyle() const { return m_thumbStyle; }

    // Throw EmkRangeSlider "Min >= Max" / "Max <= Min" and change nothing when the range would
    // be empty. Otherwise they always notify, even for the current value, and pull the
    // positions into the new range without position notifications.
    void setMin(int value);
    void setMax(int value);
    // Clamped into [Min, MaxPosition] and [MinPosition, Max]; the current value does nothing.
    void setMinPosition(int value);
    void setMaxPosition(int value);
    void setFrequency(int value); // negative values are ignored
    void setOrientation(TmkOrientation value);
    void setTickStyle(TmkTickStyle value);
    void setThumbStyle(TmkThumbStyle value);

    // --- events ---
    std::function<void(int)> OnMinChange;
    std::function<void(int)> OnMaxChange;
    std::function<void(int)> OnMaxPosChange;
    std::function<void(int)> OnMinPosChange;
    std::function<void()> OnChange; // after a change, but once per drag, at its end
    std::function<void(int& length)> OnGetRullerLength; // the owner may fix the track length
    std::function<void()> OnBeforeChange;

    // Whether setting a value also raises OnChange: off while a thumb is dragged.
    bool Notify() const { return m_notify; }

    // --- layout ---
    const TmkPointsArray& ThumbShape(Thumb thumb) const;
    // Lays the track out in a control of this size. Returns the size the control must take:
    // a track length fixed by OnGetRullerLength sets its width (height, vertical).
    QSize Layout(QSize control);
    int RulerLength() const { return m_rulerLength; }
    QRect TrackRect() const { return m_track; }
    double PixelsPerUnit() const;
    int PositionToPixel(int value) const; // from the start of the track
    int PixelToPosition(int pixel) const;
    // The point of the control the thumb's hot spot sits on.
    QPoint ThumbAnchor(Thumb thumb) const;
    int TickStep() const;
    QList<TmkTick> Ticks() const;

    // --- mouse and keyboard ---
    // `coordinate` is along the track: x horizontal, y vertical.
    void BeginDrag(Thumb thumb, int coordinate);
    bool Dragging() const { return m_drag.active; }
    void DragTo(int coordinate, bool shift);
    void EndDrag();
    void KeyPressed(); // any key
    // Without modifiers the min thumb moves, with Ctrl the max thumb, with Shift both.
    void MoveByArrow(ArrowKey key, bool ctrl, bool shift);

protected:
    virtual void RepaintWhole() {}
    virtual void ThumbMoved(Thumb) {}
    // The thumb shapes changed; `turned` when the orientation did, so the control's width and
    // height swap.
    virtual void ThumbsRebuilt(bool turned) {}

private:
    void beforeChange();
    void changed();
    void clampPositions();
    void rebuildThumbs(bool turned);
    // Moves both thumbs by `delta`, or as far as the range allows.
    void moveSpan(int delta);

    int m_min = 0;
    int m_max = 10;
    int m_minPosition = 0;
    int m_maxPosition = 10;
    int m_frequency = 0;
    TmkOrientation m_orientation = rsHorizontal;
    TmkTickStyle m_tickStyle = rsBottomRight;
    TmkThumbStyle m_thumbStyle = rsStandard;
    bool m_notify = true;

    TmkThumbShapes m_shapes;
    int m_rulerLength = 0;
    QRect m_track;

    struct Drag {
        bool active = false;
        Thumb thumb = Thumb::Min;
        int pressCoordinate = 0;
        int grabOffset = 0;
        int startMinPosition = 0;
        int startMaxPosition = 0;
    } m_drag;
};
