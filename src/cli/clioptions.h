#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// What the "--" options of the command line ask for.
struct CliOptions {
    enum class Mode { List, Convert, Profiles, Help, Version };
    enum class Overwrite { Ask, Yes, Rename };

    Mode mode = Mode::Help;
    QString disc;
    bool json = false;
    QString profile; // a name, its number in the list from 1, or the start of one name
    QString outputDir;
    QString workDir;
    QList<int> titles;              // whole titles to convert
    QMap<int, QList<int>> chapters; // title number -> chapter numbers
    QString audio;                  // a language code or a track number from 1
    QString subtitle;               // a language code, a number from 1, or "none"
    std::optional<double> start;    // seconds from each item's start
    std::optional<double> end;
    std::optional<QString> volume;
    std::optional<Overwrite> overwrite;
    std::optional<int> intermediate; // Prefs::IntermediateStandard or IntermediateHigh
    // "ROW=CAPTION" choices for this run: a list row's caption or a free row's text.
    QList<QPair<QString, QString>> sets;
};

struct CliParse {
    CliOptions options;
    QString error; // empty when the arguments are good
};

// The arguments after the program's name. Values follow their option or come after "=".
CliParse ParseCliOptions(const QStringList& arguments);

// A time as ss, mm:ss or hh:mm:ss, the seconds with a fraction or without; nothing when the
// text is none of these.
std::optional<double> ParseCliTime(const QString& text);

// "1,3-5" -> 1, 3, 4, 5; nothing for an empty, zero, negative, reversed or malformed list.
std::optional<QList<int>> ParseNumberList(const QString& text);

// The profile `requested` names among `names`: the name itself, its number in the list from 1,
// or the start of exactly one name (letter case ignored).
struct ProfileName {
    QString name;
    QString error; // empty when one profile is named
};
ProfileName ResolveProfileName(const QStringList& names, const QString& requested);

QString CliUsage();
