#include "app/imagebutton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TImageButton::TImageButton(std::array<QPixmap, 3> pictures, const QString& name, QWidget* parent)
    : QWidget(parent), m_pictures(std::move(pictures)) {
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(name);
    setToolTip(name);
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
    if (hasFocus()) {
        QPen pen(palette().color(QPalette::Highlight), 2, Qt::DashLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 8, 8);
    }
}

void TImageButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            emit clicked();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TImageButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TImageButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
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
