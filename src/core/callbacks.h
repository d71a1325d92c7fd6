#pragma once

#include <functional>

// Runs a callback that may have been left unset.
inline void CallIfSet(const std::function<void()>& f) {
    if (f)
        f();
}
