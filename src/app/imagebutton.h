#pragma once

#include "app/shellstate.h"

#include <QPixmap>
#include <QWidget>

#include <array>

// The Start/Stop image button: a picture per state (normal, hot, pressed), clicked on release
// of the mouse, or with Enter, Return or Space when it has the keyboard focus, which it shows.
class TImageButton : public QWidget {
    Q_OBJECT
public:
    // `name` is what a screen reader says of it ("Start").
    TImageButton(std::array<QPixmap, 3> pictures, const QString& name, QWidget* parent = nullptr);

    int state() const { return m_state.state(); }
    // The mouse moved over the surrounding panel or the bottom strip.
    void resetState();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void changed(bool repaint);

    std::array<QPixmap, 3> m_pictures;
    ImageButtonState m_state;
};
