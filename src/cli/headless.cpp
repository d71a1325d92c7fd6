#include "cli/headless.h"

#include "cli/listing.h"
#include "cli/runreport.h"
#include "cli/terminalprompts.h"
#include "convert/completion.h"
#include "convert/jobbuilder.h"
#include "convert/profileoptions.h"
#include "convert/toolrunner.h"
#include "core/discentries.h"
#include "core/paths.h"
#include "core/preferences.h"
#include "core/producttexts.h"
#include "core/programvalues.h"
#include "dvd/discloader.h"
#include "dvd/libdvdreadstructure.h"
#include "dvd/tasktree.h"
#include "profiles/generalpreferencesfile.h"
#include "profiles/profilefile.h"
#include "profiles/profilereader.h"
#include "profiles/settingsfile.h"

#include <QCoreApplication>
#include <QFileInfo>
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

// With --json a script reads standard output only: a failure is said there as well.
bool g_jsonFailures = false;

void fail(const QString& text) {
    err(text);
    if (g_jsonFailures)
        out(QString::fromUtf8(
                QJsonDocument(QJsonObject{{QStringLiteral("event"), QStringLiteral("error")},
                                          {QStringLiteral("message"), text}})
                    .toJson(QJsonDocument::Compact)) +
            u'\n');
}

int usageError(const QString& text) {
    fail(text);
    err(QStringLiteral("Try 'ripvale --help' for more information."));
    return StatusUsage;
}

struct ProfileChoice {
    QString path;
    QString error;
};

ProfileChoice chooseProfile(const ProgramValues& values, const StoredSettings& stored,
                            const QString& requested) {
    const QStringList names = values.profileNames();
    if (!requested.isEmpty()) {
        const ProfileName chosen = ResolveProfileName(names, requested);
        if (!chosen.error.isEmpty())
            return {{}, chosen.error};
        return {values.profilePath(chosen.name), {}};
    }
    if (stored.profileName.isEmpty())
        return {{}, QStringLiteral("no valid profile is stored; choose one with --profile")};
    return {values.profilePath(stored.profileName), {}};
}

// The stored settings, read without changing any file.
StoredSettings storedSettings(const ProgramValues& values) {
    TerminalPrompts prompts;
    return TSettingsFile(values, prompts).read(TSettingsFile::Reader::Standard);
}

bool loadDisc(const QString& entry, TTaskTree& tree, TDVDInformation& info) {
    // The argument is taken as the window takes it: a list file's entries, of which the last
    // that names something stays open, a file inside a disc's folder, an image, a folder.
    const CommandLineEntries entries = ReadCommandLineEntries({entry});
    if (!entries.error.isEmpty()) {
        fail(entries.error);
        return false;
    }
    QString disc;
    for (const QString& e : entries.entries)
        if (const QString folder = FolderForEntry(e); !folder.isEmpty())
            disc = folder;
    if (disc.isEmpty()) {
        const QString problem = AccessProblem(entry, false);
        fail(problem.isEmpty()
                 ? QStringLiteral("%1 names no disc folder, disc image or file").arg(entry)
                 : QStringLiteral("cannot open %1: %2").arg(entry, problem));
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
        fail(loaded.error.isEmpty() ? QStringLiteral("no titles could be read from %1").arg(disc)
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
    const ProfileChoice profile = chooseProfile(values, storedSettings(values), {});
    if (profile.error.isEmpty())
        extension = u'.' + ReadProfile(StandardProfileReader(profile.path)).type;
    TDVDInformation info; // an image's label names the outputs, as in the window
    TTaskTree tree([&info] { return info.VolumeName; }, [&extension] { return extension; });
    if (!loadDisc(o.disc, tree, info))
        return StatusFailed;
    if (o.json)
        out(QString::fromUtf8(
            QJsonDocument(ListingJson(tree, info.VolumeName)).toJson(QJsonDocument::Indented)));
    else
        out(ListingText(tree));
    return 0;
}

// The profiles with their numbers, as --profile takes them.
int runProfiles(const CliOptions& o, const ProgramValues& values) {
    const QStringList names = values.profileNames();
    if (o.json) {
        QJsonArray list;
        for (int i = 0; i < names.size(); ++i)
            list.append(QJsonObject{{QStringLiteral("number"), i + 1},
                                    {QStringLiteral("name"), names[i]},
                                    {QStringLiteral("file"), values.profilePath(names[i])}});
        out(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented)));
        return 0;
    }
    for (int i = 0; i < names.size(); ++i)
        out(QStringLiteral("%1\t%2\n").arg(i + 1).arg(Printable(names[i])));
    return 0;
}

class ProgressPrinter {
public:
    explicit ProgressPrinter(bool json)
        : m_json(json), m_terminal(TerminalPrompts::IsTerminal(stdout)) {}
    void show(const ConversionProgress& p) {
        if (m_json) {
            const QJsonObject step = ProgressJson(p);
            if (step != m_lastStep) // a step that changed nothing is not repeated
                showJson(step);
            m_lastStep = step;
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
    // One object a line; a step that changed nothing is not repeated.
    void showJson(const QJsonObject& object) {
        const QString line =
            QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
        if (line != m_last)
            out(line + u'\n');
        m_last = line;
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
    QJsonObject m_lastStep;
};

int runConvert(const CliOptions& o, const ProgramValues& values) {
    const StoredSettings stored = storedSettings(values);
    TSettings settings(stored);
    const ProfileChoice profile = chooseProfile(values, stored, o.profile);
    if (!profile.error.isEmpty())
        return usageError(profile.error);
    GeneralPreferences general = settings.general();
    if (o.intermediate)
        general.intermediate = *o.intermediate;
    if (o.overwrite) {
        general.overwrite = *o.overwrite == CliOptions::Overwrite::Yes;
        general.ask = *o.overwrite == CliOptions::Overwrite::Ask;
    }
    if (!o.outputDir.isEmpty())
        general.outputPath = o.outputDir;
    if (!OutputFolderUsable(general.outputPath))
        return usageError(QStringLiteral("the output folder %1 does not exist, nor does its parent")
                              .arg(general.outputPath));

    if (!o.workDir.isEmpty()) {
        if (!QFileInfo(o.workDir).isDir())
            return usageError(QStringLiteral("the work folder %1 does not exist").arg(o.workDir));
        general.workDir = o.workDir;
    }
    settings.setGeneral(general);

    TerminalPrompts prompts;
    ProfileRows rows = ReadProfile(StandardProfileReader(profile.path));
    if (rows.badIndex)
        prompts.inform(rows.error(), {});
    for (const auto& [row, value] : o.sets)
        if (const QString error = rows.show(row, value); !error.isEmpty())
            return usageError(QStringLiteral("--set %1=%2: %3").arg(row, value, error));
    settings.setOutputExtension(u'.' + rows.type);

    TDVDInformation info;
    info.VolumeName = o.volume.value_or(QString());
    TTaskTree tree([&info] { return info.VolumeName; },
                   [&settings] { return settings.outputExtension(); });
    if (!loadDisc(o.disc, tree, info))
        return StatusFailed;
    if (o.volume) // the name asked for wins over an image's label
        info.VolumeName = *o.volume;
    if (const QString error = SelectItems(tree, o); !error.isEmpty())
        return usageError(error);

    EncoderMemory memory;
    ConversionJobSource source =
        DiscJobSource(tree, info, settings.outputExtension(), settings.outputFolder(),
                      settings.general(), profile.path);
    source.shownText = ShownTextOf(rows); // the profile as --set left it
    ConversionJob job = BuildConversionJob(source, memory);

    TToolRunner runner;
    TConversionDriver driver(runner, prompts, values);
    ProgressPrinter printer(o.json);
    int status = StatusFailed;
    QObject::connect(&driver, &TConversionDriver::progressChanged, &driver,
                     [&] { printer.show(driver.progress()); });
    if (o.json)
        QObject::connect(&driver, &TConversionDriver::itemEnded, &driver,
                         [&](const QString& path, ItemResult result, const QString& reason) {
                             printer.showJson(ItemJson(path, result, reason));
                         });
    QObject::connect(
        &driver, &TConversionDriver::finished, &driver, [&](TConversionDriver::Outcome outcome) {
            printer.end();
            driver.removeIntermediate();
            const RunResult result{driver.failures(), driver.skipped()};
            if (o.json && outcome != TConversionDriver::Outcome::EncoderMissing)
                printer.showJson(RunResultJson(result, driver.outputPaths(),
                                               outcome == TConversionDriver::Outcome::Cancelled));
            if (outcome == TConversionDriver::Outcome::Completed) {
                status = !result.failures.isEmpty()  ? StatusFailed
                         : !result.skipped.isEmpty() ? StatusSkipped
                                                     : 0;
                if (result.failures.isEmpty())
                    for (const QString& path : driver.outputPaths())
                        err(QStringLiteral("wrote %1").arg(path));
                if (const QString report = TCompletionActions::RunReport(result); !report.isEmpty())
                    std::fputs(qPrintable(report + u'\n'), stderr);
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

} // namespace

int RunHeadless(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const CliParse parsed = ParseCliOptions(app.arguments().mid(1));
    g_jsonFailures = parsed.error.isEmpty() ? parsed.options.json
                                            : app.arguments().contains(QStringLiteral("--json"));
    if (!parsed.error.isEmpty())
        return usageError(parsed.error);
    const ProgramValues values = LoadProgramValues(QCoreApplication::applicationDirPath());
    switch (parsed.options.mode) {
    case CliOptions::Mode::Help:
        out(CliUsage());
        return 0;
    case CliOptions::Mode::Version:
        out(QStringLiteral("%1 %2\n").arg(QString::fromLatin1(ProductTexts::ProductName),
                                          values.productVersion));
        return 0;
    case CliOptions::Mode::Profiles:
        return runProfiles(parsed.options, values);
    case CliOptions::Mode::List:
        return runList(parsed.options, values);
    case CliOptions::Mode::Convert:
        return runConvert(parsed.options, values);
    }
    return StatusFailed;
}
