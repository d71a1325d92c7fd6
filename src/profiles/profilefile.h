#pragma once

#include "profiles/profileformat.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class IProfileReader;
class TNewInifile;

// A profile as its three grids show it.
struct ProfileRows {
    QList<ProfileParameter> video;
    QList<ProfileParameter> audio;
    QList<ProfileParameter> advanced;
    QString type = ProfileKeys::DefaultType; // [Main] Type: the output files' extension
    // The Index that stopped the loading: that row is the last one, with an empty value.
    std::optional<int> badIndex;

    QList<ProfileParameter>& of(ParameterGroup group);
    const QList<ProfileParameter>& of(ParameterGroup group) const;
    // The first row of that grid whose key equals `key`, letter case ignored.
    std::optional<ProfileParameter> find(ParameterGroup group, const QString& key) const;
    // "List index out of bounds (5)" after a bad Index; empty otherwise.
    QString error() const;
    // Shows `value` in the row whose key is `key` (letter case ignored), in whichever grid, as
    // the grids allow: one of a list row's captions, any text in a free row, nothing in a
    // read-only one. The reason when it cannot be shown; empty when it is.
    QString show(const QString& key, const QString& value);
};

// More parameters than any profile holds: a corrupt Para cannot make a reading run for ever.
inline constexpr int MaxProfileParameters = 1000;

// One parameter as its profile file holds it.
struct ProfileEntry {
    QString section; // the row's key
    ParameterGroup group = ParameterGroup::Advanced;
    bool readOnly = false;
    bool list = true;
    QString cmd;
    QString caption;
    QString value;
    int index = 0;
};

// Every parameter of the profile in the file's order, each in the grid of its Sort, at most
// MaxProfileParameters of them. The one walk over a profile's parameters: the grids, the saver
// and the conversion's option builders all read through it.
QList<ProfileEntry> ReadProfileEntries(const IProfileReader& reader);

// The rows of every parameter, in the file's order, each in the grid of its Sort. A list
// parameter shows the caption at its Index and is read-only, so its value is only chosen from the
// list; any other shows its Caption whole. An Index outside the captions stops the reading.
ProfileRows ReadProfile(const IProfileReader& reader);

// Copies the profile file `source` to `target`, replacing a file there; false with the reason in
// `error` when `source` cannot be read or `target` cannot be written.
bool CopyProfileFile(const QString& source, const QString& target, QString* error);

// The row of a grid by its key; nothing when the grid has no such row.
using ParameterLookup =
    std::function<std::optional<ProfileParameter>(ParameterGroup, const QString& key)>;

// Writes the rows' values into the profile held by `ini`: the Index of the shown caption for a
// list parameter, the shown text as Caption and Value for any other. Parameters that are
// read-only in the file, and parameters without a row, are left as the file has them.
void WriteProfileValues(TNewInifile& ini, const ParameterLookup& rowOf);
