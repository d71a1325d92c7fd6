#pragma once

#include "profiles/profileformat.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

struct ProfileRows;

// One profile parameter as the next conversion uses it: its tool option and current value.
struct ProfileOption {
    QString section; // the row's key in its grid
    ParameterGroup group = ParameterGroup::Advanced;
    QString cmd;
    QString value;
    // Typed by the user into a plain row: the tool gets it as one argument, blanks and all,
    // where a profile's own option text is split as its author wrote it.
    bool typed = false;
};

// The text a grid row shows, found by grid and key; nothing when there is no such row.
using ShownText = std::function<std::optional<QString>(ParameterGroup, const QString& key)>;

// Every parameter of the profile file in the profile's order, with its current value: a list
// parameter maps the caption shown in its row to the Value entry at the same position; a
// read-only plain parameter takes the file's Value; any other the shown text. A shown caption
// that is not in the list gives an empty value. Empty when the file does not exist.
QList<ProfileOption> CurrentProfileOptions(const QString& profilePath, const ShownText& shown);

// What a profile's grid rows show before anyone changes them, read with the standard reader:
// the values a conversion without a window uses.
ShownText ProfileDefaults(const QString& profilePath);
// The rows' values as shown, for rows read and changed without a grid.
ShownText ShownTextOf(const ProfileRows& rows);
