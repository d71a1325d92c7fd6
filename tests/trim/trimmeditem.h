#pragma once

#include "core/timetext.h"
#include "dvd/tasknode.h"

// An item of the disc running origStart..origEnd, already trimmed to start..end.
inline TTaskNode TrimmedItem(double origStart, double origEnd, double start, double end) {
    TTaskNode n;
    n.OrigStartSeconds = origStart;
    n.OrigEndSeconds = origEnd;
    n.OrigStartText = SecondsToTimeText(origStart);
    n.OrigEndText = SecondsToTimeText(origEnd);
    n.StartSeconds = start;
    n.EndSeconds = end;
    n.StartText = SecondsToTimeText(start);
    n.EndText = SecondsToTimeText(end);
    return n;
}
