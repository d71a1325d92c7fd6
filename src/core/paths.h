#pragma once

#include <QString>
#include <QStringList>

// Folder texts in this program always end in the separator; paths are formed by appending.
QString WithTrailingSeparator(const QString& folder);

// The text before the last "." of a file name (the whole name when it has none).
QString NameWithoutExtension(const QString& fileName);

// A disc image: an existing regular file named "*.iso" in any letter case. It is opened wherever
// a disc folder is.
bool IsDiscImage(const QString& path);

// The entry of `folder` named `name` ignoring letter case, the exact name first; empty when there
// is none. Copied discs often have lower-case names.
QString EntryIgnoringCase(const QString& folder, const QString& name);

// The folder part of a path, up to and including its last separator.
QString FolderOfPath(const QString& path);

// Names of the regular, non-hidden files directly in `folder` whose extension (with its dot)
// equals `extension` ignoring case, sorted alphabetically ignoring case.
QStringList ListFilesWithExtension(const QString& folder, const QString& extension);

// A profile's name: its file name without the extension ("fast.mobile.apf" -> "fast.mobile").
QString ProfileNameOfFile(const QString& fileName);

// Why the system will not let this program read `path` (list and enter it, for a folder):
// "Permission denied", "No such file or directory"; empty when it can.
QString AccessProblem(const QString& path, bool folder);
