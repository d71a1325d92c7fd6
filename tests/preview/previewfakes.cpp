#include "previewfakes.h"

void FakeBackend::go(const QString& call, PlaybackState to, bool onlyFromRunning) {
    calls << call;
    if (current != PlaybackState::NoGraph &&
        (!onlyFromRunning || current == PlaybackState::Running))
        current = to;
}

void FakeBackend::switchOn(bool on) {
    calls << QString("switchOn %1").arg(on);
    current = on ? PlaybackState::Stopped : PlaybackState::NoGraph;
}

void FakeBackend::playAtTime(const DvdTimecode& t) {
    calls << QString("time %1:%2:%3.%4").arg(t.hours).arg(t.minutes).arg(t.seconds).arg(t.frames);
}

QStringList FakeBackend::callsOf(const QString& kind) const {
    QStringList found;
    for (const QString& c : calls) {
        if (c == kind || c.startsWith(kind + ' '))
            found << c;
    }
    return found;
}
