#include "cli/convertcommand.h"

#include "cli/commandinputs.h"
#include "cli/listing.h"
#include "cli/runreport.h"
#include "convert/completion.h"
#include "convert/jobbuilder.h"
#include "convert/profileoptions.h"
#include "core/programvalues.h"
#include "platform/terminationsignals.h"
#include "profiles/profilefile.h"
#include "profiles/profilereader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <csignal>
#include <cstdio>

TConvertCommand::TConvertCommand(const CliOptions& options, const ProgramValues& values)
    : m_o(options), m_values(values), m_settings(ReadStoredSettings(values)),
      m_tree([this] { return m_info.VolumeName; }, [this] { return m_settings.outputExtension(); }),
      m_driver(m_runner, m_prompts, values), m_printer(options.json) {}

TConvertCommand::~TConvertCommand() = default;

std::optional<int> TConvertCommand::prepare() {
    const CliOptions& o = m_o;
    const ProfileChoice profile = ChooseProfile(m_values, m_settings.profileName(), o.profile);
    if (!profile.error.isEmpty())
        return usageError(profile.error);
    GeneralPreferences general = m_settings.general();
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
    m_settings.setGeneral(general);

    ProfileRows rows = ReadProfile(StandardProfileReader(profile.path));
    if (rows.badIndex)
        m_prompts.inform(rows.error(), {});
    for (const auto& [row, value] : o.sets)
        if (const QString error = rows.show(row, value); !error.isEmpty())
            return usageError(QStringLiteral("--set %1=%2: %3").arg(row, value, error));
    m_settings.setOutputExtension(u'.' + rows.type);

    m_info.VolumeName = o.volume.value_or(QString());
    if (!LoadDiscEntry(o.disc, m_tree, m_info))
        return StatusFailed;
    if (o.volume) // the name asked for wins over an image's label
        m_info.VolumeName = *o.volume;
    if (const QString error = SelectItems(m_tree, o); !error.isEmpty())
        return usageError(error);

    EncoderMemory memory;
    ConversionJobSource source =
        DiscJobSource(m_tree, m_info, m_settings.outputExtension(), m_settings.outputFolder(),
                      m_settings.general(), profile.path);
    source.shownText = ShownTextOf(rows); // the profile as --set left it
    m_job = BuildConversionJob(source, memory);
    return std::nullopt;
}

void TConvertCommand::connectDriver() {
    QObject::connect(&m_driver, &TConversionDriver::progressChanged, &m_driver,
                     [this] { m_printer.show(m_driver.progress()); });
    if (m_o.json)
        QObject::connect(&m_driver, &TConversionDriver::itemEnded, &m_driver,
                         [this](const QString& path, ItemResult result, const QString& reason) {
                             m_printer.showJson(ItemJson(path, result, reason));
                         });
    QObject::connect(&m_driver, &TConversionDriver::finished, &m_driver,
                     [this](TConversionDriver::Outcome outcome) { finished(outcome); });
}

void TConvertCommand::finished(TConversionDriver::Outcome outcome) {
    m_printer.end();
    m_driver.removeIntermediate();
    const RunResult result{m_driver.failures(), m_driver.skipped()};
    if (m_o.json && outcome != TConversionDriver::Outcome::EncoderMissing)
        m_printer.showJson(RunResultJson(result, m_driver.outputPaths(),
                                         outcome == TConversionDriver::Outcome::Cancelled));
    if (outcome == TConversionDriver::Outcome::Completed) {
        m_status = !result.failures.isEmpty()  ? StatusFailed
                   : !result.skipped.isEmpty() ? StatusSkipped
                                               : 0;
        if (result.failures.isEmpty())
            for (const QString& path : m_driver.outputPaths())
                err(QStringLiteral("wrote %1").arg(path));
        if (const QString report = TCompletionActions::RunReport(result); !report.isEmpty())
            std::fputs(qPrintable(report + u'\n'), stderr);
    }
    QCoreApplication::exit(m_status);
}

int TConvertCommand::run() {
    if (const std::optional<int> refused = prepare())
        return *refused;
    connectDriver();
    m_signals = std::make_unique<TTerminationSignals>(QList<int>{SIGINT, SIGTERM, SIGHUP, SIGPIPE});
    QObject::connect(m_signals.get(), &TTerminationSignals::received, &m_driver,
                     [this] { m_driver.stop(); });
    QTimer::singleShot(0, &m_driver, [this] { m_driver.run(m_job); });
    return QCoreApplication::exec();
}
