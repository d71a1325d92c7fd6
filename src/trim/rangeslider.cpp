#include "trim/rangeslider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TmkRangeSlider::TmkRangeSlider(QWidget* parent)
    : QWidget(parent), m_minThumb(std::make_unique<TmkThumbBitmap>(this, Thumb::Min)),
      m_maxThumb(std::make_unique<TmkThumbBitmap>(this, Thumb::Max)) {
    // The control keeps its own buffer; nothing needs to be painted beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    resize(200, 32);
    buildThumbs();
    Paint();
}

TmkRangeSlider::~TmkRangeSlider() = default;

QSize TmkRangeSlider::sizeHint() const {
    return Orientation() == rsHorizontal ? QSize(200, 32) : QSize(32, 200);
}

void TmkRangeSlider::buildThumbs() {
    m_minThumb->Build(ThumbShape(Thumb::Min), palette());
    m_maxThumb->Build(ThumbShape(Thumb::Max), palette());
    setMinimumSize(Orientation() == rsHorizontal ? QSize(50, 10) : QSize(10, 50));
}

QPixmap TmkRangeSlider::paintTrack() const {
    const QRect track = TrackRect();
    QPixmap bitmap(track.size());
    bitmap.fill(palette().color(QPalette::Midlight));
    QPainter painter(&bitmap);
    const int right = track.width() - 1;
    const int bottom = track.height() - 1;
    painter.setPen(palette().color(QPalette::Dark)); // sunken: shadow top and left
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(0, 0, 0, bottom);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, bottom, right, bottom);
    painter.drawLine(right, 0, right, bottom);

    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(palette().color(QPalette::WindowText));
    const bool horizontal = Orientation() == rsHorizontal;
    constexpr int largeLength = TrackThickness - 4;
    for (const TmkTick& tick : Ticks()) {
        const int length = tick.large ? largeLength : 2;
        const int across = (TrackThickness - length) / 2;
        // A pen of one pixel adds one to the ellipse's width and height.
        const QRect mark = horizontal ? QRect(tick.pixel - 1, across, 1, length - 1)
                                      : QRect(across, tick.pixel - 1, length - 1, 1);
        painter.drawEllipse(mark);
    }
    return bitmap;
}

void TmkRangeSlider::Paint() {
    const QSize wanted = Layout(size());
    if (wanted != size())
        resize(wanted); // the owner fixed the track length

    QPixmap buffer(size());
    buffer.fill(palette().color(QPalette::Window));
    if (!TrackRect().isEmpty())
        QPainter(&buffer).drawPixmap(TrackRect().topLeft(), paintTrack());
    m_minThumb->MarkForRecapture();
    m_maxThumb->MarkForRecapture();
    m_minThumb->Draw(buffer);
    m_maxThumb->Draw(buffer);
    m_canvas = buffer;
    update();
}

void TmkRangeSlider::DrawOnCanvas(const std::function<void(QPainter&)>& draw) {
    {
        QPainter painter(&m_canvas);
        draw(painter);
    }
    update();
}

void TmkRangeSlider::RepaintWhole() {
    Paint();
}

void TmkRangeSlider::ThumbMoved(Thumb thumb) {
    TmkThumbBitmap& bitmap = thumb == Thumb::Min ? *m_minThumb : *m_maxThumb;
    update(bitmap.Draw(m_canvas));
}

void TmkRangeSlider::ThumbsRebuilt(bool turned) {
    // Taken before the new constraints can stretch the old shape.
    const QSize turnedSize = size().transposed();
    buildThumbs();
    if (turned)
        resize(turnedSize);
    Paint();
}

void TmkRangeSlider::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (m_canvas.size() != size())
        painter.fillRect(area, palette().color(QPalette::Window));
    painter.drawPixmap(area.topLeft(), m_canvas, area);
    if (hasFocus()) { // the keyboard moves the thumbs: a dotted frame shows where it acts
        QPen pen(palette().color(QPalette::Highlight), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TmkRangeSlider::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TmkRangeSlider::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TmkRangeSlider::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Paint();
}

void TmkRangeSlider::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        buildThumbs();
        Paint();
    }
}

void TmkRangeSlider::keyPressEvent(QKeyEvent* event) {
    KeyPressed();
    ArrowKey key;
    switch (event->key()) {
    case Qt::Key_Left:
        key = ArrowKey::Left;
        break;
    case Qt::Key_Right:
        key = ArrowKey::Right;
        break;
    case Qt::Key_Up:
        key = ArrowKey::Up;
        break;
    case Qt::Key_Down:
        key = ArrowKey::Down;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    MoveByArrow(key, modifiers & Qt::ControlModifier, modifiers & Qt::ShiftModifier);
    event->accept(); // an arrow never moves the focus away
}

int TmkRangeSlider::alongTrack(QPoint point) const {
    return Orientation() == rsHorizontal ? point.x() : point.y();
}

void TmkRangeSlider::mousePressEvent(QMouseEvent* event) {
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    // Where the thumbs overlap, the min thumb is taken.
    if (m_minThumb->LastRect().contains(point))
        BeginDrag(Thumb::Min, alongTrack(point));
    else if (m_maxThumb->LastRect().contains(point))
        BeginDrag(Thumb::Max, alongTrack(point));
}

void TmkRangeSlider::mouseMoveEvent(QMouseEvent* event) {
    if (Dragging())
        DragTo(alongTrack(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void TmkRangeSlider::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    EndDrag();
}
