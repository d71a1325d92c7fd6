#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The disc's title table, from its own information file (VIDEO_TS.IFO): where each title
// lives and how many camera angles it has.

struct TDiscTitle {
    int TitleSet = 0;   // the title set's number, 1 to 99 (VTS_01_0.IFO is 1)
    int TitleInSet = 0; // which title of its title set it is, from 1
    int AngleCount = 0; // 1 to 9
};

// Parses the file; `fileName` is only used in messages. Throws EIFOError, whose message names
// the file and says what is wrong, when it is no disc information file or its table makes no
// sense.
QList<TDiscTitle> ParseTitleTable(const QByteArray& data, const QString& fileName);
