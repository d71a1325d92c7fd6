#pragma once

#include <QList>

// The three-state picture of the Start and Stop image buttons: 0 normal, 1 hot, 2 pressed.
class ImageButtonState {
public:
    enum State { Normal = 0, Hot = 1, Pressed = 2 };

    int state() const { return m_state; }

    // Each returns true when the state (and so the picture) changed.
    bool mouseMove();     // over the button: normal -> hot
    bool mousePress();    // pressed on the button
    bool mouseRelease();  // released on the button: pressed -> hot
    bool mouseLeftArea(); // over the surrounding panel or the bottom strip: back to normal

private:
    int m_state = Normal;
};

// The heights the hint panel passes through when it slides open (0..109, 110 steps) and shut
// (105, 100, ..., 0: 22 steps).
namespace HintSlide {
inline constexpr int OpenHeight = 109;
QList<int> openHeights();
QList<int> closeHeights();
} // namespace HintSlide
