#pragma once

#include "dvd/ifobytes.h"
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

// Runs `parse` on an information file of the given kind held in memory; any failure comes out
// as IFOFailure's message naming the file.
template <typename Parse>
auto ParseInfoFile(const QByteArray& data, const QString& fileName, const QString& kind,
                   const Parse& parse) {
    if (data.size() > MaxIFOFileSize)
        throw EIFOError(
            IFOFailure(fileName, QStringLiteral("it is larger than %1 MiB, too large for a %2")
                                     .arg(MaxIFOFileSize / (1024 * 1024))
                                     .arg(kind)));
    try {
        return parse(IfoByteView(data));
    } catch (const EIFOError& error) {
        throw EIFOError(IFOFailure(fileName, error.message()));
    }
}
