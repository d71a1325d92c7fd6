#include "cli/clioptions.h"

#include "core/preferences.h"
#include "core/timetext.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

const QStringList ValueOptions = {
    QStringLiteral("--profile"),     QStringLiteral("--output"),   QStringLiteral("--work-dir"),
    QStringLiteral("--set"),         QStringLiteral("--titles"),   QStringLiteral("--chapters"),
    QStringLiteral("--audio"),       QStringLiteral("--subtitle"), QStringLiteral("--start"),
    QStringLiteral("--end"),         QStringLiteral("--volume"),   QStringLiteral("--overwrite"),
    QStringLiteral("--intermediate")};

} // namespace

std::optional<double> ParseCliTime(const QString& text) {
    // ss, mm:ss or hh:mm:ss; the seconds may have a fraction, the minutes and seconds after a
    // colon stay under 60.
    static const QRegularExpression form(
        QStringLiteral("^(?:(?:(\\d{1,3}):)?(\\d{1,2}):)?(\\d+(?:\\.\\d+)?)$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const bool hasMinutes = m.hasCaptured(2) && !m.captured(2).isEmpty();
    const double hours = m.captured(1).toDouble();
    const double minutes = m.captured(2).toDouble();
    const double seconds = m.captured(3).toDouble();
    if (hasMinutes && seconds >= 60)
        return std::nullopt;
    if (!m.captured(1).isEmpty() && minutes >= 60)
        return std::nullopt;
    return hours * 3600 + minutes * 60 + seconds;
}

namespace {

bool isTrackChoice(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([1-9]\\d{0,2}|[A-Za-z]{2,3})$"));
    return form.match(text).hasMatch();
}

QString setValue(CliOptions& o, const QString& name, const QString& value) {
    const auto bad = [&](const QString& expected) {
        return QStringLiteral("invalid value \"%1\" for %2: expected %3")
            .arg(value, name, expected);
    };
    if (name == u"--profile") {
        if (value.isEmpty())
            return bad(QStringLiteral("a profile name"));
        o.profile = value;
    } else if (name == u"--output" || name == u"--work-dir") {
        if (value.isEmpty())
            return bad(QStringLiteral("a folder"));
        (name == u"--output" ? o.outputDir : o.workDir) = value;
    } else if (name == u"--intermediate") {
        if (value == u"standard")
            o.intermediate = Prefs::IntermediateStandard;
        else if (value == u"high")
            o.intermediate = Prefs::IntermediateHigh;
        else
            return bad(QStringLiteral("standard or high"));
    } else if (name == u"--set") {
        const int equals = value.indexOf(u'=');
        if (equals <= 0 || value.left(equals).trimmed().isEmpty())
            return bad(QStringLiteral("ROW=VALUE such as \"Video Size=640x360\""));
        o.sets.append({value.left(equals).trimmed(), value.mid(equals + 1).trimmed()});
    } else if (name == u"--titles") {
        const std::optional<QList<int>> list = ParseNumberList(value);
        if (!list)
            return bad(QStringLiteral("title numbers such as 1,3-4"));
        o.titles << *list;
    } else if (name == u"--chapters") {
        const int colon = value.indexOf(u':');
        bool ok = false;
        const int title = colon > 0 ? value.left(colon).toInt(&ok) : 0;
        const std::optional<QList<int>> list =
            ok && title > 0 ? ParseNumberList(value.mid(colon + 1)) : std::nullopt;
        if (!list)
            return bad(QStringLiteral("TITLE:CHAPTERS such as 1:2-4"));
        o.chapters[title] << *list;
    } else if (name == u"--audio") {
        if (!isTrackChoice(value))
            return bad(QStringLiteral("a language code or a track number"));
        o.audio = value;
    } else if (name == u"--subtitle") {
        if (value.compare(u"none", Qt::CaseInsensitive) != 0 && !isTrackChoice(value))
            return bad(QStringLiteral("a language code, a subtitle number or none"));
        o.subtitle = value;
    } else if (name == u"--start" || name == u"--end") {
        const std::optional<double> t = ParseCliTime(value);
        if (!t)
            return bad(QStringLiteral("a time as ss, mm:ss or hh:mm:ss"));
        (name == u"--start" ? o.start : o.end) = t;
    } else if (name == u"--volume") {
        o.volume = value;
    } else if (name == u"--overwrite") {
        if (value == u"ask")
            o.overwrite = CliOptions::Overwrite::Ask;
        else if (value == u"yes")
            o.overwrite = CliOptions::Overwrite::Yes;
        else if (value == u"rename")
            o.overwrite = CliOptions::Overwrite::Rename;
        else
            return bad(QStringLiteral("ask, yes or rename"));
    }
    return {};
}

} // namespace

std::optional<QList<int>> ParseNumberList(const QString& text) {
    static const QRegularExpression part(QStringLiteral("^(\\d{1,4})(?:-(\\d{1,4}))?$"));
    QList<int> numbers;
    for (const QString& piece : text.split(u',')) {
        const QRegularExpressionMatch m = part.match(piece);
        if (!m.hasMatch())
            return std::nullopt;
        const int first = m.captured(1).toInt();
        const int last = m.captured(2).isEmpty() ? first : m.captured(2).toInt();
        if (first < 1 || last < first)
            return std::nullopt;
        for (int n = first; n <= last; ++n)
            if (!numbers.contains(n))
                numbers << n;
    }
    return numbers;
}

namespace {

// Qt's texts for a malformed option, in this program's words.
QString parserError(const QCommandLineParser& parser) {
    if (!parser.unknownOptionNames().isEmpty())
        return QStringLiteral("unknown option --%1").arg(parser.unknownOptionNames().first());
    static const QRegularExpression quoted(QStringLiteral("'-*([^']*)'"));
    const QString text = parser.errorText();
    const QString name = QStringLiteral("--") + quoted.match(text).captured(1);
    if (text.startsWith(QLatin1String("Missing value")))
        return QStringLiteral("option %1 needs a value").arg(name);
    if (text.startsWith(QLatin1String("Unexpected value")))
        return QStringLiteral("option %1 takes no value").arg(name);
    return text;
}

} // namespace

CliParse ParseCliOptions(const QStringList& arguments) {
    CliParse r;
    CliOptions& o = r.options;
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* flag : {"list", "convert", "profiles", "json", "version"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(flag)));
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    for (const QString& name : ValueOptions)
        parser.addOption(QCommandLineOption(name.mid(2), QString(), QStringLiteral("value")));
    if (!parser.parse(QStringList{QStringLiteral("ripvale")} + arguments)) {
        r.error = parserError(parser);
        return r;
    }
    // Values in the order given, a repeated option's each in turn.
    QMap<QString, int> taken;
    QStringList convertOnly;
    for (const QString& name : parser.optionNames()) {
        const QString option = QStringLiteral("--") + name;
        if (!ValueOptions.contains(option))
            continue;
        const QString value = parser.values(name).value(taken[name]++);
        r.error = setValue(o, option, value);
        if (!r.error.isEmpty())
            return r;
        convertOnly << option;
    }
    const bool list = parser.isSet(QStringLiteral("list"));
    const bool convert = parser.isSet(QStringLiteral("convert"));
    const bool profiles = parser.isSet(QStringLiteral("profiles"));
    o.json = parser.isSet(QStringLiteral("json"));
    if (parser.isSet(QStringLiteral("help"))) {
        o.mode = CliOptions::Mode::Help;
        return r;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        o.mode = CliOptions::Mode::Version;
        return r;
    }
    if (profiles) {
        if (list || convert || !convertOnly.isEmpty() || !parser.positionalArguments().isEmpty()) {
            r.error = QStringLiteral("--profiles takes no disc and no other option");
            return r;
        }
        o.mode = CliOptions::Mode::Profiles;
        return r;
    }
    if (list == convert) {
        r.error = list ? QStringLiteral("--list and --convert cannot be used together")
                       : QStringLiteral("one of --list or --convert is needed");
        return r;
    }
    o.mode = list ? CliOptions::Mode::List : CliOptions::Mode::Convert;
    if (list && !convertOnly.isEmpty()) {
        r.error = QStringLiteral("option %1 belongs to --convert").arg(convertOnly.first());
        return r;
    }
    const QStringList discs = parser.positionalArguments();
    if (discs.size() != 1) {
        r.error = discs.isEmpty() ? QStringLiteral("a disc folder is needed")
                                  : QStringLiteral("only one disc folder can be given");
        return r;
    }
    o.disc = discs.first();
    if (o.start && o.end && *o.end <= *o.start)
        r.error = QStringLiteral("--end must come after --start");
    return r;
}

ProfileName ResolveProfileName(const QStringList& names, const QString& requested) {
    if (names.contains(requested))
        return {requested, {}};
    bool isNumber = false;
    const int number = requested.toInt(&isNumber);
    if (isNumber && number >= 1 && number <= names.size())
        return {names[number - 1], {}};
    QStringList starting;
    for (const QString& name : names)
        if (name.startsWith(requested, Qt::CaseInsensitive))
            starting << name;
    if (starting.size() == 1)
        return {starting.first(), {}};
    const QString list = (starting.isEmpty() ? names : starting).join(QStringLiteral("\", \""));
    if (starting.isEmpty())
        return {{},
                QStringLiteral("unknown profile \"%1\"; the profiles are: \"%2\"")
                    .arg(requested, list)};
    return {{}, QStringLiteral("\"%1\" names more than one profile: \"%2\"").arg(requested, list)};
}

QString CliUsage() {
    return QStringLiteral(
        "Usage: ripvale [FOLDER|FILE|IMAGE.iso|LIST.tmp]...\n"
        "       ripvale --list DISC [--json]\n"
        "       ripvale --convert DISC [OPTIONS]\n"
        "       ripvale --profiles\n"
        "\n"
        "Without options the window opens with the given discs.\n"
        "\n"
        "  --list                 print the disc's titles and chapters as the task list shows "
        "them\n"
        "  --convert              convert without a window\n"
        "  --profiles             list the output profiles with their numbers\n"
        "  --json                 print JSON: the listing, or one object per line for each\n"
        "                         progress step, each item and the end of the run\n"
        "  --profile NAME|N       output profile by name, number or the start of its name\n"
        "                         (default: the one chosen last in the window)\n"
        "  --set ROW=VALUE        for this run, a profile row's caption or a free row's text,\n"
        "                         such as --set \"Video Size=640x360\" (repeatable)\n"
        "  --output DIR           output folder (default: the stored output folder)\n"
        "  --work-dir DIR         folder for the intermediate files (default: the stored one)\n"
        "  --intermediate standard|high  the intermediate file: standard (small, encoded\n"
        "                         twice) or high (streamed whole: the output is encoded\n"
        "                         once, no work space needed)\n"
        "  --titles LIST          titles to convert, such as 1,3-4 (default: the longest title)\n"
        "  --chapters TITLE:LIST  chapters of a title to convert, such as 2:1-3\n"
        "  --audio LANG|N         audio track by language code or number from 1\n"
        "  --subtitle LANG|N|none subtitle by language code or number from 1, or none\n"
        "  --start TIME           start this far into each item (ss, mm:ss or hh:mm:ss;\n"
        "                         seconds may have a fraction: 90, 1:30, 0:01:30.5)\n"
        "  --end TIME             end this far into each item\n"
        "  --volume NAME          prefix of the output file names\n"
        "  --overwrite ask|yes|rename  what to do with an existing output file\n"
        "                         (ask: asked on a terminal; skipped without one)\n"
        "  -h, --help             show this help and exit\n"
        "  --version              show the version and exit\n"
        "\n"
        "Exit status: 0 when every item is converted, 1 on a failure or cancel, 2 on bad "
        "usage,\n3 when every item was done but some were skipped.\n");
}
