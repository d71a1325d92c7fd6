#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// What the "--" options of the command line ask for.
struct CliOptions {
    enum class Mode { List, Convert, Help, Version };
    enum class Overwrite { Ask, Yes, Rename };

    Mode mode = Mode::Help;
    QString disc;
    bool json = false;
    QString profile;
    QString outputDir;
    QList<int> titles;              // whole titles to convert
    QMap<int, QList<int>> chapters; // title number -> chapter numbers
    QString audio;                  // a language code or a track number from 1
    QString subtitle;               // a language code, a number from 1, or "none"
    std::optional<double> start;    // seconds from each item's start
    std::optional<double> end;
    std::optional<QString> volume;
    std::optional<Overwrite> overwrite;
};

struct CliParse {
    CliOptions options;
    QString error; // empty when the arguments are good
};

// The arguments after the program's name. Values follow their option or come after "=".
CliParse ParseCliOptions(const QStringList& arguments);

// "1,3-5" -> 1, 3, 4, 5; nothing for an empty, zero, negative, reversed or malformed list.
std::optional<QList<int>> ParseNumberList(const QString& text);

QString CliUsage();
