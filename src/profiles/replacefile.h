#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes` atomically: written beside it, flushed to disk, then
// renamed over it, so a crash or a full disk leaves the old file as it was. False when the file
// cannot be written; `error` then holds the system's reason.
bool replaceFile(const QString& path, const QByteArray& bytes, QString* error);
