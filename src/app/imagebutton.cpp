#include "app/imagebutton.h"

#include <QMouseEvent>
#include <QPainter>

TImageButton::TImageButton(std::array<QPixmap, 3> pictures, QWidget* parent)
    : QWidget(parent), m_pictures(std::move(pictures)) {
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void TImageButton::resetState() {
    changed(m_state.mouseLeftArea());
}

void TImageButton::changed(bool repaint) {
    if (repaint)
        update();
}

void TImageButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, m_pictures[m_state.state()]);
}

void TImageButton::mouseMoveEvent(QMouseEvent*) {
    changed(m_state.mouseMove());
}

void TImageButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        changed(m_state.mousePress());
}

void TImageButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    changed(m_state.mouseRelease());
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}
