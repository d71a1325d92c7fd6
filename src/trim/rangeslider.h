#pragma once

#include "trim/rangeslidermodel.h"
#include "trim/thumbbitmap.h"

#include <QPixmap>
#include <QWidget>

#include <functional>
#include <memory>

class QPainter;

// The range slider: two thumbs on one track choose [MinPosition, MaxPosition] inside
// [Min, Max]. It paints itself into its own buffer: a change of range or style paints the whole
// control afresh, a moving thumb only puts back what it covered and draws itself anew. Dragging
// a thumb moves it (with Shift the whole span); the arrow keys move the min thumb, with Ctrl
// the max thumb, with Shift both.
class TmkRangeSlider : public QWidget, public TmkRangeSliderModel {
    Q_OBJECT
public:
    explicit TmkRangeSlider(QWidget* parent = nullptr);
    ~TmkRangeSlider() override;

    TmkThumbBitmap& MinThumb() { return *m_minThumb; }
    TmkThumbBitmap& MaxThumb() { return *m_maxThumb; }

    // What the control shows. An owner may draw its own pictures over it; they stay until the
    // control is painted afresh or a thumb moves across them.
    const QPixmap& Canvas() const { return m_canvas; }
    void DrawOnCanvas(const std::function<void(QPainter&)>& draw);

    // Paints the whole control afresh: track, ticks and both thumbs.
    void Paint();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    void RepaintWhole() override;
    void ThumbMoved(Thumb thumb) override;
    void ThumbsRebuilt(bool turned) override;

private:
    void buildThumbs();
    QPixmap paintTrack() const;
    int alongTrack(QPoint point) const;

    std::unique_ptr<TmkThumbBitmap> m_minThumb;
    std::unique_ptr<TmkThumbBitmap> m_maxThumb;
    QPixmap m_canvas;
};
