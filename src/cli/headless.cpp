#include "cli/headless.h"

#include "cli/terminalprompts.h"
#include "convert/completion.h"
#include "convert/conversionjob.h"
#include "convert/toolrunner.h"
#include "core/discentries.h"
#include "core/paths.h"
#include "core/preferences.h"
#include "core/producttexts.h"
#include "core/programvalues.h"
#include "core/timetext.h"
#include "dvd/discloader.h"
#include "dvd/ifonames.h"
#include "dvd/libdvdreadstructure.h"
#include "dvd/tasktree.h"
#include "profiles/generalpreferencesfile.h"
#include "profiles/profilefile.h"
#include "profiles/profilereader.h"
#include "profiles/standardini.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <unistd.h>

namespace {

constexpr int StatusFailed = 1;
constexpr int StatusUsage = 2;
constexpr int StatusSkipped = 3; // every item done, but some were skipped

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) {
    g_interrupted = 1;
}

// Whoever reads the output has gone (a closed pipe or terminal): the run is canceled as by
// Ctrl+C, not left to run unseen.
void written(FILE* stream) {
    if (std::fflush(stream) != 0 && errno == EPIPE)
        g_interrupted = 1;
}

// Every byte of the text, zero bytes included.
void write(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    written(stream);
}

void out(const QString& text) {
    write(stdout, text);
}

void err(const QString& text) {
    write(stderr, QStringLiteral("ripvale: ") + Printable(text) + u'\n');
}

int usageError(const QString& text) {
    err(text);
    err(QStringLiteral("Try 'ripvale --help' for more information."));
    return StatusUsage;
}

QJsonArray toArray(const QStringList& list) {
    return QJsonArray::fromStringList(list);
}

QJsonObject nodeJson(const TTaskTree& tree, const QModelIndex& index) {
    const TTaskNode* n = tree.node(index);
    const auto cell = [&](int column) { return tree.cellText(index.siblingAtColumn(column)); };
    return QJsonObject{{QStringLiteral("number"), n->Number},
                       {QStringLiteral("caption"), cell(TTaskTree::TitleColumn)},
                       {QStringLiteral("start"), cell(TTaskTree::StartColumn)},
                       {QStringLiteral("end"), cell(TTaskTree::EndColumn)},
                       {QStringLiteral("output"), cell(TTaskTree::OutputColumn)}};
}

// A track by number from 1, or by language code among `entries` that hold codes or language
// names; the first `skip` entries are no tracks. -1 when none fits.
int trackEntry(const QString& choice, const QStringList& codes, int skip) {
    bool isNumber = false;
    const int number = choice.toInt(&isNumber);
    if (isNumber)
        return number >= 1 && number + skip - 1 < codes.size() ? number + skip - 1 : -1;
    for (int i = skip; i < codes.size(); ++i)
        if (codes[i].compare(choice, Qt::CaseInsensitive) == 0 ||
            codes[i].compare(LanguageName(choice.toLower()), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

struct ProfileChoice {
    QString path;
    QString error;
};

ProfileChoice chooseProfile(const ProgramValues& values, const QString& requested) {
    const QStringList names = values.profileNames();
    if (!requested.isEmpty()) {
        if (!names.contains(requested))
            return {{},
                    QStringLiteral("unknown profile \"%1\"; the profiles are: %2")
                        .arg(requested, names.join(QStringLiteral(", ")))};
        return {values.profilePath(requested), {}};
    }
    const int index = StandardIni(values.preferencesPath())
                          .readInteger(Prefs::MainSection, Prefs::Profile, Prefs::DefaultProfile);
    if (index < 0 || index >= names.size())
        return {{}, QStringLiteral("no valid profile is stored; choose one with --profile")};
    return {values.profilePath(names[index]), {}};
}

bool loadDisc(const QString& entry, TTaskTree& tree, TDVDInformation& info) {
    // The argument is taken as the window takes it: a list file's entries, of which the last
    // that names something stays open, a file inside a disc's folder, an image, a folder.
    const CommandLineEntries entries = ReadCommandLineEntries({entry});
    if (!entries.error.isEmpty()) {
        err(entries.error);
        return false;
    }
    QString disc;
    for (const QString& e : entries.entries)
        if (const QString folder = FolderForEntry(e); !folder.isEmpty())
            disc = folder;
    if (disc.isEmpty()) {
        err(QStringLiteral("%1 names no disc folder, disc image or file").arg(entry));
        return false;
    }
    // libdvdread prints its notices on standard output, which holds only the listing here.
    std::fflush(stdout);
    const int savedOutput = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    LibDvdReadStructure reader;
    DiscLoadResult loaded = LoadDisc(disc, reader);
    std::fflush(stdout);
    dup2(savedOutput, STDOUT_FILENO);
    close(savedOutput);
    if (!loaded.error.isEmpty() || loaded.titles.isEmpty()) {
        err(loaded.error.isEmpty() ? QStringLiteral("no titles could be read from %1").arg(disc)
                                   : loaded.error);
        return false;
    }
    for (const QString& warning : loaded.warnings)
        err(warning);
    ApplyLoadedDisc(std::move(loaded), tree, info);
    return true;
}

int runList(const CliOptions& o, const ProgramValues& values) {
    QString extension;
    const ProfileChoice profile = chooseProfile(values, {});
    if (profile.error.isEmpty())
        extension = u'.' + ReadProfile(StandardProfileReader(profile.path)).type;
    TDVDInformation info; // an image's label names the outputs, as in the window
    TTaskTree tree([&info] { return info.VolumeName; }, [&extension] { return extension; });
    if (!loadDisc(o.disc, tree, info))
        return StatusFailed;
    if (o.json)
        out(QString::fromUtf8(QJsonDocument(ListingJson(tree)).toJson(QJsonDocument::Indented)));
    else
        out(ListingText(tree));
    return 0;
}

class ProgressPrinter {
public:
    explicit ProgressPrinter(bool json)
        : m_json(json), m_terminal(TerminalPrompts::IsTerminal(stdout)) {}
    void show(const ConversionProgress& p) {
        if (m_json) {
            const QString line =
                QString::fromUtf8(QJsonDocument(ProgressJson(p)).toJson(QJsonDocument::Compact));
            if (line != m_last)
                out(line + u'\n');
            m_last = line;
            return;
        }
        const QString line = ProgressLine(p);
        if (line == m_last)
            return;
        m_last = line;
        if (m_terminal) {
            out(u'\r' + line + QStringLiteral("\x1b[K"));
            m_open = true;
        } else {
            out(line + u'\n');
        }
    }
    void end() {
        if (m_open)
            out(QStringLiteral("\n"));
        m_open = false;
    }

private:
    bool m_json;
    bool m_terminal;
    bool m_open = false;
    QString m_last;
};

int runConvert(const CliOptions& o, ProgramValues& values) {
    const ProfileChoice profile = chooseProfile(values, o.profile);
    if (!profile.error.isEmpty())
        return usageError(profile.error);
    GeneralPreferences settings = ReadStandardGeneralPreferences(
        values.preferencesPath(), Prefs::MainSection, values.defaultPreferences());
    if (o.overwrite) {
        settings.overwrite = *o.overwrite == CliOptions::Overwrite::Yes;
        settings.ask = *o.overwrite == CliOptions::Overwrite::Ask;
    }
    const QString outputText = o.outputDir.isEmpty()
                                   ? StandardIni(values.preferencesPath())
                                         .readString(Prefs::MainSection, Prefs::OutputPath,
                                                     values.folders.defaultOutputDir)
                                   : o.outputDir;
    if (!OutputFolderUsable(outputText))
        return usageError(QStringLiteral("the output folder %1 does not exist, nor does its parent")
                              .arg(outputText));

    TerminalPrompts prompts;
    const ProfileRows rows = ReadProfile(StandardProfileReader(profile.path));
    if (rows.badIndex)
        prompts.inform(rows.error(), {});
    values.outputExtension = u'.' + rows.type;

    TDVDInformation info;
    info.VolumeName = o.volume.value_or(QString());
    TTaskTree tree([&info] { return info.VolumeName; },
                   [&values] { return values.outputExtension; });
    if (!loadDisc(o.disc, tree, info))
        return StatusFailed;
    if (o.volume) // the name asked for wins over an image's label
        info.VolumeName = *o.volume;
    if (const QString error = SelectItems(tree, o); !error.isEmpty())
        return usageError(error);

    EncoderMemory memory;
    ConversionJob job = BuildConversionJob(
        DiscJobSource(tree, info, values.outputExtension, outputText, settings, profile.path),
        memory);

    TToolRunner runner;
    TConversionDriver driver(runner, prompts, values);
    ProgressPrinter printer(o.json);
    int status = StatusFailed;
    QObject::connect(&driver, &TConversionDriver::progressChanged, &driver,
                     [&] { printer.show(driver.progress()); });
    QObject::connect(
        &driver, &TConversionDriver::finished, &driver, [&](TConversionDriver::Outcome outcome) {
            printer.end();
            driver.removeIntermediate();
            if (outcome == TConversionDriver::Outcome::Completed) {
                const RunResult result{driver.failures(), driver.skipped()};
                status = !result.failures.isEmpty()  ? StatusFailed
                         : !result.skipped.isEmpty() ? StatusSkipped
                                                     : 0;
                if (result.failures.isEmpty())
                    for (const QString& path : driver.outputPaths())
                        err(QStringLiteral("wrote %1").arg(path));
                if (const QString report = TCompletionActions::RunReport(result); !report.isEmpty())
                    std::fputs(qPrintable(report + u'\n'), stderr);
                if (o.json)
                    out(QString::fromUtf8(QJsonDocument(RunResultJson(result, driver.outputPaths()))
                                              .toJson(QJsonDocument::Compact)) +
                        u'\n');
            }
            QCoreApplication::exit(status);
        });

    QTimer interruptCheck;
    QObject::connect(&interruptCheck, &QTimer::timeout, &driver, [&] {
        if (g_interrupted) {
            g_interrupted = 0;
            driver.stop();
        }
    });
    interruptCheck.start(100);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // Ctrl+C, a kill and a closed terminal all cancel as Stop does; a closed pipe shows as a
    // failed write instead of ending the program with the tools still running.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    QTimer::singleShot(0, &driver, [&] { driver.run(std::move(job)); });
    const int result = QCoreApplication::exec();
    return result;
}

// The output name in the window's hint "Converting: VOLUME-NAME.ext", without an empty volume's
// dash.
QString ItemOfHint(const QString& hint) {
    QString item = hint;
    item.remove(QStringLiteral("Converting: "));
    if (item.startsWith(u'-'))
        item.remove(0, 1);
    return item;
}

} // namespace

QString Printable(QString text) {
    for (QChar& c : text)
        if ((c.unicode() < 0x20 && c != u'\n' && c != u'\t') || c.unicode() == 0x7F)
            c = QChar::ReplacementCharacter;
    return text;
}

QString ListingText(const TTaskTree& tree) {
    // The disc's own texts may hold anything; tabs and line ends are the listing's.
    const auto shown = [](const QString& t) {
        return Printable(QString(t).replace(u'\t', u' ').replace(u'\n', u' '));
    };
    QString text;
    for (const QModelIndex& index : tree.allNodes()) {
        const QJsonObject n = nodeJson(tree, index);
        const TTaskNode* node = tree.node(index);
        const QString indent = node->IsTitle ? QString() : QStringLiteral("    ");
        text += indent + QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                             .arg(node->Number)
                             .arg(shown(n[QStringLiteral("caption")].toString()),
                                  n[QStringLiteral("start")].toString(),
                                  n[QStringLiteral("end")].toString(),
                                  shown(n[QStringLiteral("output")].toString()));
        if (node->IsTitle) {
            QStringList audio;
            for (int i = 0; i < node->AudioTracks.size(); ++i)
                audio << QStringLiteral("%1 (%2)").arg(shown(node->AudioTracks[i]),
                                                       shown(node->AudioLanguages.value(i)));
            text += QStringLiteral("  audio: %1\n  subtitles: %2\n  angles: %3\n")
                        .arg(audio.isEmpty() ? QStringLiteral("none")
                                             : audio.join(QStringLiteral(", ")),
                             node->Subtitles.mid(1).isEmpty()
                                 ? QStringLiteral("none")
                                 : shown(node->Subtitles.mid(1).join(QStringLiteral(", "))))
                        .arg(node->AngleCount);
        }
    }
    return text;
}

QJsonObject ListingJson(const TTaskTree& tree) {
    QJsonArray titles;
    for (int row = 0; row < tree.rowCount(); ++row) {
        const QModelIndex title = tree.index(row, 0);
        const TTaskNode* node = tree.node(title);
        QJsonObject t = nodeJson(tree, title);
        t[QStringLiteral("audio")] = toArray(node->AudioTracks);
        t[QStringLiteral("audioLanguages")] = toArray(node->AudioLanguages);
        t[QStringLiteral("subtitles")] = toArray(node->Subtitles.mid(1));
        t[QStringLiteral("angles")] = node->AngleCount;
        QJsonArray chapters;
        for (int c = 0; c < tree.rowCount(title); ++c)
            chapters.append(nodeJson(tree, tree.index(c, 0, title)));
        t[QStringLiteral("chapters")] = chapters;
        titles.append(t);
    }
    return QJsonObject{{QStringLiteral("titles"), titles}};
}

QString SelectItems(TTaskTree& tree, const CliOptions& o) {
    tree.applyCheckCommand(TTaskTree::CheckCommand::UncheckAll);
    if (o.titles.isEmpty() && o.chapters.isEmpty())
        tree.CheckLongestTitle();
    for (int number : o.titles) {
        if (number > tree.rowCount())
            return QStringLiteral("the disc has no title %1 (it has %2)")
                .arg(number)
                .arg(tree.rowCount());
        tree.setChecked(tree.index(number - 1, 0), true);
    }
    for (auto it = o.chapters.cbegin(); it != o.chapters.cend(); ++it) {
        if (it.key() > tree.rowCount())
            return QStringLiteral("the disc has no title %1 (it has %2)")
                .arg(it.key())
                .arg(tree.rowCount());
        const QModelIndex title = tree.index(it.key() - 1, 0);
        for (int chapter : it.value()) {
            if (chapter > tree.rowCount(title))
                return QStringLiteral("title %1 has no chapter %2 (it has %3)")
                    .arg(it.key())
                    .arg(chapter)
                    .arg(tree.rowCount(title));
            tree.setChecked(tree.index(chapter - 1, 0, title), true);
        }
    }
    for (const QModelIndex& index : tree.checkedNodes()) {
        const TTaskNode* title = tree.listNode(index);
        if (!o.audio.isEmpty()) {
            const int entry = trackEntry(o.audio, title->AudioLanguages, 0);
            if (entry < 0)
                return QStringLiteral("title %1 has no audio track %2 (it has: %3)")
                    .arg(title->Number)
                    .arg(o.audio, title->AudioLanguages.join(QStringLiteral(", ")));
            tree.writeChoice(index, TTaskTree::Choice::Audio, entry);
        }
        if (!o.subtitle.isEmpty()) {
            const int entry = o.subtitle.compare(u"none", Qt::CaseInsensitive) == 0
                                  ? 0
                                  : trackEntry(o.subtitle, title->Subtitles, 1);
            if (entry < 0)
                return QStringLiteral("title %1 has no subtitle %2 (it has: %3)")
                    .arg(title->Number)
                    .arg(o.subtitle, title->Subtitles.mid(1).join(QStringLiteral(", ")));
            tree.writeChoice(index, TTaskTree::Choice::Subtitle, entry);
        }
        if (o.start || o.end) {
            const TTaskNode* n = tree.node(index);
            const double start = n->OrigStartSeconds + o.start.value_or(0);
            const double end = o.end ? std::min(n->OrigStartSeconds + *o.end, n->OrigEndSeconds)
                                     : n->OrigEndSeconds;
            if (start >= end)
                return QStringLiteral("--start %1 lies beyond the end of %2 (%3 long)")
                    .arg(SecondsToTimeText(o.start.value_or(0)), n->OutputName,
                         SecondsToTimeText(n->OrigEndSeconds - n->OrigStartSeconds));
            tree.setSpan(index, SecondsToTimeText(start), SecondsToTimeText(end));
        }
    }
    return {};
}

QString ProgressLine(const ConversionProgress& p) {
    const QString item = ItemOfHint(p.hintText);
    return QStringLiteral("%1 item %2% total %3% frames %4 elapsed %5 remaining %6")
        .arg(item.isEmpty() ? QStringLiteral("preparing") : item)
        .arg(p.current)
        .arg(p.total)
        .arg(p.framesText.isEmpty() ? QStringLiteral("0") : p.framesText,
             p.elapsedText.isEmpty() ? QStringLiteral("00:00:00") : p.elapsedText,
             p.remainingText.isEmpty() ? QStringLiteral("--:--:--") : p.remainingText);
}

QJsonObject RunResultJson(const RunResult& result, const QStringList& outputs) {
    QJsonArray failed;
    for (const ItemFailure& f : result.failures)
        failed.append(QJsonObject{{QStringLiteral("file"), f.fileName},
                                  {QStringLiteral("reason"), f.reason}});
    const qsizetype converted = outputs.size() - result.failures.size();
    return QJsonObject{{QStringLiteral("event"), QStringLiteral("done")},
                       {QStringLiteral("converted"), converted},
                       {QStringLiteral("failed"), failed},
                       {QStringLiteral("skipped"), toArray(result.skipped)}};
}

QJsonObject ProgressJson(const ConversionProgress& p) {
    const QString item = ItemOfHint(p.hintText);
    return QJsonObject{{QStringLiteral("item"), item},
                       {QStringLiteral("current"), p.current},
                       {QStringLiteral("total"), p.total},
                       {QStringLiteral("frames"), p.framesText},
                       {QStringLiteral("elapsed"), p.elapsedText},
                       {QStringLiteral("remaining"), p.remainingText}};
}

int RunHeadless(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const CliParse parsed = ParseCliOptions(app.arguments().mid(1));
    if (!parsed.error.isEmpty())
        return usageError(parsed.error);
    ProgramValues values = LoadProgramValues(QCoreApplication::applicationDirPath());
    switch (parsed.options.mode) {
    case CliOptions::Mode::Help:
        out(CliUsage());
        return 0;
    case CliOptions::Mode::Version:
        out(QStringLiteral("%1 %2\n").arg(QString::fromLatin1(ProductTexts::ProductName),
                                          values.productVersion));
        return 0;
    case CliOptions::Mode::List:
        return runList(parsed.options, values);
    case CliOptions::Mode::Convert:
        return runConvert(parsed.options, values);
    }
    return StatusFailed;
}
