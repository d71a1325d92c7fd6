// One title converted through the program's driver, and the same tool command lines run
// directly, side by side; with the program's own CPU time and the longest stall of its event
// loop during the run.
//   bench_convert PROGRAM_DIR DISC_FOLDER PROFILE_FILE WORK_DIR
#include "commandlines.h"
#include "conversiondriver.h"
#include "conversionitems.h"
#include "conversionjob.h"
#include "discloader.h"
#include "libdvdreadstructure.h"
#include "programvalues.h"
#include "prompts.h"
#include "standardini.h"
#include "tasktree.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {

class SilentPrompts : public IPrompts {
public:
    void inform(const QString& text, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool ask(const QString&, const QString&) override { return true; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseSaveFile(const QString&, const QString&, const QString&) override {
        return {};
    }
};

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void runDirect(const QString& program, const QStringList& args, const QString& folder = {}) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(program, args);
    p.waitForFinished(-1);
    p.readAll();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 5) {
        std::fprintf(stderr, "usage: bench_convert PROGRAM_DIR DISC PROFILE WORK_DIR\n");
        return 2;
    }
    ProgramValues values = ProgramValues::forProgramDir(a[1]);
    values.workDir = a[4] + "/";
    const QString profile = a[3];
    values.outputExtension = "." + StandardIni(profile).readString("Main", "Type", "mp4");

    TDVDInformation info;
    TTaskTree tree([] { return QString(); }, [] { return QString(); });
    LibDvdReadStructure reader;
    ApplyLoadedDisc(LoadDisc(a[2], reader), tree, info);
    tree.CheckLongestTitle();

    SilentPrompts prompts;
    TToolRunner runner;
    TConversionDriver driver(runner, prompts, values);
    ConversionJobSource source;
    source.items = ConversionItemsOf(tree);
    source.outputFolder = values.workDir;
    source.volumeName = QString();
    source.outputExtension = values.outputExtension;
    source.frameRate = info.FrameRate;
    source.discPath = info.DiscPath;
    source.settings = GeneralPreferences::defaults(values.programDir);
    source.settings.overwrite = true;
    source.profilePath = profile;
    source.shownText = ProfileDefaults(profile);
    EncoderMemory memory;
    const ConversionJob job = BuildConversionJob(source, memory);

    // Through the driver, with a 5 ms ticker measuring how late the event loop answers.
    QElapsedTimer clock, sinceTick;
    qint64 worstStall = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { worstStall = std::max(worstStall, sinceTick.restart() - 5); });
    const double ownBefore = cpuSeconds(RUSAGE_SELF);
    const double toolsBefore = cpuSeconds(RUSAGE_CHILDREN);
    QEventLoop loop;
    QObject::connect(&driver, &TConversionDriver::finished, &loop, &QEventLoop::quit);
    clock.start();
    sinceTick.start();
    ticker.start();
    driver.run(job);
    loop.exec();
    ticker.stop();
    const double driverSeconds = clock.nsecsElapsed() / 1e9;
    const double ownCpu = cpuSeconds(RUSAGE_SELF) - ownBefore;
    const double toolsCpu = cpuSeconds(RUSAGE_CHILDREN) - toolsBefore;

    // The same three command lines, run directly one after another.
    const ConversionItem& item = job.items.front();
    ToolCommand encode =
        EncodePassCommand(item.encode, job.discPath, job.encoderOptionBlock, memory);
    encode.add(EncoderOutputOption(values.workDir));
    const QString output = values.workDir + "direct" + values.outputExtension;
    clock.restart();
    runDirect(values.encoderPath,
              DiscOpenCommand(item.encode.titleNumber, DrivePartOf(job.discPath)).arguments(),
              values.workDir);
    runDirect(values.encoderPath, encode.arguments());
    runDirect(
        values.transcoderPath,
        TranscodeCommand(values.workDir + "temp.avi", job.transcoderOptions(), output).arguments());
    const double directSeconds = clock.nsecsElapsed() / 1e9;

    std::printf("item: %s, %.1f s of video\n", qPrintable(item.outputName), item.durationSeconds);
    std::printf("through the driver: %.2f s\ndirect: %.2f s\nratio: %.3f\n", driverSeconds,
                directSeconds, driverSeconds / directSeconds);
    std::printf("program CPU: %.3f s, tools CPU: %.2f s, share: %.3f %%\n", ownCpu, toolsCpu,
                100 * ownCpu / toolsCpu);
    std::printf("longest event-loop stall: %lld ms\n", worstStall);
    std::printf("failures: %lld\n", qlonglong(driver.failures().size()));
    return driver.failures().isEmpty() ? 0 : 1;
}
