// One title converted through the program's driver, and the same tool command lines run
// directly, side by side in alternating order over a few rounds; with the program's own CPU
// time and the longest stall of its event loop during the driver's runs.
//   bench_convert PROGRAM_DIR DISC_FOLDER PROFILE_FILE WORK_DIR [ROUNDS]
#include "convert/commandlines.h"
#include "convert/conversiondriver.h"
#include "convert/jobbuilder.h"
#include "convert/outputcheck.h"
#include "convert/toolrunner.h"
#include "core/programvalues.h"
#include "dvd/discloader.h"
#include "dvd/libdvdreadstructure.h"
#include "dvd/tasktree.h"
#include "platform/prompts.h"
#include "profiles/standardini.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

class SilentPrompts : public IPrompts {
public:
    void inform(const QString& text, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool ask(const QString&, const QString&) override { return true; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseSaveFile(const QString&, const QString&, const QString&,
                                          const QString&) override {
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

// Times how long the event loop spends handling each event: the longest is how long the window
// would stop answering because of the program's own work.
class TimedApplication : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;
    qint64 longestNs = 0;

    bool notify(QObject* receiver, QEvent* event) override {
        if (m_depth++ > 0) { // nested: counted in the outer event
            const bool result = QCoreApplication::notify(receiver, event);
            --m_depth;
            return result;
        }
        QElapsedTimer clock;
        clock.start();
        const bool result = QCoreApplication::notify(receiver, event);
        longestNs = std::max(longestNs, clock.nsecsElapsed());
        --m_depth;
        return result;
    }

private:
    int m_depth = 0;
};

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString marksText(const QList<double>& marks) {
    QStringList texts;
    for (double m : marks)
        texts << QString::number(m, 'f', 2);
    return texts.join(u' ');
}

struct DriverRun {
    double seconds = 0;
    double ownCpu = 0;
    double toolsCpu = 0;
    qint64 worstStall = 0;   // the ticker's lateness, which includes waiting for a CPU
    qint64 longestEvent = 0; // the longest handling of one event
    QList<double> marks;     // when each tool run ended
    qsizetype failures = 0;
};

// Through the driver, with a 20 ms ticker measuring how late the event loop answers. The
// ticker's own wake-ups are counted in the program's CPU time.
DriverRun throughDriver(const ConversionJob& job, const ProgramValues& values) {
    SilentPrompts prompts;
    TToolRunner runner;
    TConversionDriver driver(runner, prompts, values);
    DriverRun result;
    QElapsedTimer clock, sinceTick;
    constexpr int TickMs = 20;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(TickMs);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        result.worstStall = std::max(result.worstStall, sinceTick.restart() - TickMs);
    });
    QObject::connect(&runner, &IToolRunner::finished,
                     [&] { result.marks << clock.nsecsElapsed() / 1e9; });
    QEventLoop loop;
    QObject::connect(&driver, &TConversionDriver::finished, &loop, &QEventLoop::quit);
    const double ownBefore = cpuSeconds(RUSAGE_SELF);
    const double toolsBefore = cpuSeconds(RUSAGE_CHILDREN);
    auto* app = static_cast<TimedApplication*>(QCoreApplication::instance());
    app->longestNs = 0;
    clock.start();
    sinceTick.start();
    ticker.start();
    driver.run(job);
    loop.exec();
    ticker.stop();
    result.longestEvent = app->longestNs / 1000000;
    result.seconds = clock.nsecsElapsed() / 1e9;
    result.ownCpu = cpuSeconds(RUSAGE_SELF) - ownBefore;
    result.toolsCpu = cpuSeconds(RUSAGE_CHILDREN) - toolsBefore;
    result.failures = driver.failures().size();
    return result;
}

// The same command lines the driver runs, one after another: disc-open run, encode pass,
// transcode pass and the read-back of the output.
QList<double> direct(const ConversionJob& job, const ProgramValues& values, EncoderMemory& memory) {
    const ConversionItem& item = job.items.front();
    ToolCommand encode =
        EncodePassCommand(item.encode, job.discPath, job.encoderOptionBlock, memory);
    encode.add(EncoderOutputOption(job.workDir));
    const QString output = job.workDir + "direct" + job.outputExtension;
    QList<double> marks;
    QElapsedTimer clock;
    clock.start();
    runDirect(values.encoderPath,
              DiscOpenCommand(item.encode.titleNumber, DrivePartOf(job.discPath)).arguments(),
              job.workDir);
    marks << clock.nsecsElapsed() / 1e9;
    runDirect(values.encoderPath, encode.arguments());
    marks << clock.nsecsElapsed() / 1e9;
    runDirect(
        values.transcoderPath,
        TranscodeCommand(job.workDir + "temp.avi", job.transcoderOptions, output).arguments());
    marks << clock.nsecsElapsed() / 1e9;
    runDirect(values.probePath(), ProbeArguments(output));
    marks << clock.nsecsElapsed() / 1e9;
    return marks;
}

} // namespace

int main(int argc, char* argv[]) {
    TimedApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 5) {
        std::fprintf(stderr, "usage: bench_convert PROGRAM_DIR DISC PROFILE WORK_DIR [ROUNDS]\n");
        return 2;
    }
    const int rounds = a.size() > 5 ? std::max(1, a[5].toInt()) : 3;
    const ProgramValues values = ProgramValues::forProgramDir(a[1]);
    const QString workDir = a[4] + "/";
    const QString profile = a[3];
    const QString extension = "." + StandardIni(profile).readString("Main", "Type", "mp4");

    TDVDInformation info;
    TTaskTree tree([] { return QString(); }, [] { return QString(); });
    LibDvdReadStructure reader;
    ApplyLoadedDisc(LoadDisc(a[2], reader), tree, info);
    tree.CheckLongestTitle();

    GeneralPreferences settings = values.defaultPreferences();
    settings.workDir = workDir;
    settings.overwrite = true;
    EncoderMemory memory;
    const ConversionJob job = BuildConversionJob(
        DiscJobSource(tree, info, extension, workDir, settings, profile), memory);
    std::printf("item: %s, %.1f s of video, %d rounds\n", qPrintable(job.items.front().outputName),
                job.items.front().durationSeconds, rounds);

    // Alternating which goes first, so neither gains from a warm cache or a quiet moment.
    QList<double> ratios, driverTimes, directTimes;
    double ownCpu = 0, toolsCpu = 0;
    qint64 worstStall = 0, longestEvent = 0;
    qsizetype failures = 0;
    for (int round = 0; round < rounds; ++round) {
        DriverRun viaDriver;
        QList<double> directMarks;
        if (round % 2 == 0) {
            viaDriver = throughDriver(job, values);
            directMarks = direct(job, values, memory);
        } else {
            directMarks = direct(job, values, memory);
            viaDriver = throughDriver(job, values);
        }
        const double directSeconds = directMarks.last();
        driverTimes << viaDriver.seconds;
        directTimes << directSeconds;
        ratios << viaDriver.seconds / directSeconds;
        ownCpu += viaDriver.ownCpu;
        toolsCpu += viaDriver.toolsCpu;
        worstStall = std::max(worstStall, viaDriver.worstStall);
        longestEvent = std::max(longestEvent, viaDriver.longestEvent);
        failures += viaDriver.failures;
        std::printf("round %d: driver %.2f s (runs end at %s), direct %.2f s (%s), ratio %.3f, "
                    "longest event %lld ms, ticker late %lld ms\n",
                    round + 1, viaDriver.seconds, qPrintable(marksText(viaDriver.marks)),
                    directSeconds, qPrintable(marksText(directMarks)), ratios.last(),
                    viaDriver.longestEvent, viaDriver.worstStall);
        std::fflush(stdout);
    }
    std::printf("through the driver (median): %.2f s\ndirect (median): %.2f s\n"
                "ratio (median): %.3f\n",
                median(driverTimes), median(directTimes), median(ratios));
    std::printf("program CPU: %.3f s, tools CPU: %.2f s, share: %.3f %%\n", ownCpu, toolsCpu,
                100 * ownCpu / toolsCpu);
    std::printf("longest event handling: %lld ms\n", longestEvent);
    std::printf("longest lateness of a 20 ms ticker: %lld ms\n", worstStall);
    std::printf("failures: %lld\n", qlonglong(failures));
    return failures == 0 ? 0 : 1;
}
