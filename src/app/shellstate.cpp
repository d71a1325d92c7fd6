#include "app/shellstate.h"

#include <QString>

bool ImageButtonState::mouseMove() {
    if (m_state != Normal)
        return false;
    m_state = Hot;
    return true;
}

bool ImageButtonState::mousePress() {
    if (m_state == Pressed)
        return false;
    m_state = Pressed;
    return true;
}

bool ImageButtonState::mouseRelease() {
    if (m_state != Pressed)
        return false;
    m_state = Hot;
    return true;
}

bool ImageButtonState::mouseLeftArea() {
    if (m_state == Normal)
        return false;
    m_state = Normal;
    return true;
}

QList<int> HintSlide::openHeights() {
    QList<int> heights;
    for (int h = 0; h <= OpenHeight; ++h)
        heights << h;
    return heights;
}

QList<int> HintSlide::closeHeights() {
    QList<int> heights;
    for (int n = 21; n >= 0; --n)
        heights << 5 * n;
    return heights;
}
