#pragma once

#include <QByteArray>
#include <QString>

// Small file helpers for tests that build folders and files in a temporary directory.
namespace TestFiles {
void write(const QString& path, const QByteArray& bytes); // creates missing folders
QByteArray read(const QString& path);
QString programDir(); // the built program folder, ending in "/"
} // namespace TestFiles
