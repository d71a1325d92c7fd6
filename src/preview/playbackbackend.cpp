#include "preview/playbackbackend.h"

DvdTimecode DvdTimecode::fromSeconds(int s) {
    DvdTimecode t;
    t.hours = s / 3600;
    t.minutes = (s - 3600 * t.hours) / 60;
    t.seconds = s - 3600 * t.hours - 60 * t.minutes;
    return t;
}
