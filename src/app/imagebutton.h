#pragma once

#include "app/shellstate.h"

#include <QPixmap>
#include <QWidget>

#include <array>

// The Start/Stop image button: a picture per state (normal, hot, pressed), clicked on release.
class TImageButton : public QWidget {
    Q_OBJECT
public:
    TImageButton(std::array<QPixmap, 3> pictures, QWidget* parent = nullptr);

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

private:
    void changed(bool repaint);

    std::array<QPixmap, 3> m_pictures;
    ImageButtonState m_state;
};
