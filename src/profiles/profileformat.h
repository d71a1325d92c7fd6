#pragma once

#include <QString>
#include <QStringList>

// The parts of a profile file's format that every reader of profiles shares.

// The grid a parameter's row belongs to, by its Sort key.
enum class ParameterGroup { Video = 1, Audio = 2, Advanced = 3 };

// A Sort outside 1 to 3 keeps the previous parameter's grid; on the first parameter, where
// there is none, the row goes to the Advanced grid.
ParameterGroup ParameterGroupFor(int sort, const ParameterGroup* previous);

// "a,b," gives a and b: every entry is followed by a comma, and text after the last comma
// is not an entry.
QStringList SplitCommaList(const QString& text);

// Position of the first caption equal to `text`, letter case ignored; -1 when none is.
qsizetype CaptionIndex(const QStringList& captions, const QString& text);

// One row of a parameter grid. The key is the parameter's section name; the value is the shown
// text, for a list parameter the selected caption. The cmd and Value keys stay in the file: the
// conversion maps the shown text back to a tool value when it runs.
struct ProfileParameter {
    QString key;
    QString value;
    bool readOnly = false;
    bool hasPickList = false; // a list parameter: chosen from pickList, never typed
    QStringList pickList;

    // Read-only text that no list can change: drawn grey.
    bool greyed() const { return readOnly && !hasPickList; }
    bool operator==(const ProfileParameter&) const = default;
};

// A profile's keys, as the file names them.
namespace ProfileKeys {
inline const QString Main = QStringLiteral("Main");
inline const QString Para = QStringLiteral("Para");
inline const QString Type = QStringLiteral("Type");
inline const QString Sort = QStringLiteral("Sort");
inline const QString ReadOnly = QStringLiteral("ReadOnly");
inline const QString Cmd = QStringLiteral("cmd");
inline const QString List = QStringLiteral("List");
inline const QString Caption = QStringLiteral("Caption");
inline const QString Value = QStringLiteral("Value");
inline const QString Index = QStringLiteral("Index");
inline const QString DefaultType = QStringLiteral("mp4");
} // namespace ProfileKeys
