#pragma once

#include "dvd/ifotypes.h"

#include <QByteArray>
#include <QString>

// The IFO reader: what the program needs of one title-set information file (VTS_nn_0.IFO).

// Reads and parses the file. Throws EIFOError, whose message names the file and says what is
// wrong, when it cannot be read or its contents make no sense.
TIFO ReadIFO(const QString& fileName);

// Parses a file already in memory; `fileName` is only used in messages.
TIFO ParseIFO(const QByteArray& data, const QString& fileName);

// "Cannot read the DVD information file "<file>": <problem>." as every reading failure says it.
QString IFOFailure(const QString& fileName, const QString& problem);

// Larger files are refused before they are read: real ones are a few hundred kilobytes.
constexpr qint64 MaxIFOFileSize = 16 * 1024 * 1024;
