#pragma once

#include <QString>
#include <QStringList>

// What the command line names to open: the lines of a ".tmp" list file given as the first
// argument, otherwise every argument in order.
struct CommandLineEntries {
    QStringList entries;
    QString error; // set when a list file was named but could not be read
};

CommandLineEntries ReadCommandLineEntries(const QStringList& arguments);

// The disc an entry opens: a disc image itself, another file's folder, a folder itself, or empty
// (skip the entry).
QString FolderForEntry(const QString& entry);
