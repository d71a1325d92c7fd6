#include "convert/completion.h"
#include "convert/conversioncontroller.h"
#include "core/programvalues.h"
#include "core/settings.h"
#include "dvd/tasktree.h"
#include "support/fakes.h"
#include "support/faketoolrunner.h"
#include "support/testclock.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(TConversionDriver::Outcome)

// Start and Stop as the window runs them, over tools that do only what the test says; and the
// actions that follow a finished run.
class TestConversionController : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QWidget m_window;
    QWidget *m_start = nullptr, *m_stop = nullptr, *m_tree = nullptr;
    QWidget *m_left = nullptr, *m_center = nullptr;
    QProgressBar *m_current = nullptr, *m_total = nullptr;
    QLabel *m_curText = nullptr, *m_totalText = nullptr, *m_frames = nullptr;
    QLabel *m_elapsed = nullptr, *m_remaining = nullptr;
    QLineEdit* m_output = nullptr;
    QComboBox* m_profile = nullptr;
    QCheckBox* m_turnOff = nullptr;
    FakePrompts m_prompts;
    FakeShell m_shell;
    FakePower m_power;
    FakeNotifier m_notifier;
    ProgramValues m_values;
    TSettings m_settings;
    TDVDInformation m_dvd;
    std::unique_ptr<TTaskTree> m_titles; // one title, checked
    QStringList m_log;
    FakeToolRunner* m_runner = nullptr;
    std::unique_ptr<TConversionController> m_controller;

    template <typename W> W* add() { return new W(&m_window); }

private slots:
    void initTestCase() {
        m_start = add<QWidget>();
        m_stop = add<QWidget>();
        m_tree = add<QWidget>();
        m_left = add<QWidget>();
        m_center = add<QWidget>();
        m_current = add<QProgressBar>();
        m_total = add<QProgressBar>();
        m_curText = add<QLabel>();
        m_totalText = add<QLabel>();
        m_frames = add<QLabel>();
        m_elapsed = add<QLabel>();
        m_remaining = add<QLabel>();
        m_output = add<QLineEdit>();
        m_profile = add<QComboBox>();
        m_turnOff = add<QCheckBox>();
        m_window.show();
        m_values = ProgramValues::forProgramDir(m_dir.path());
        TestFiles::write(m_values.profilePath("P"), "[Main]\r\nPara=0\r\nType=mp4\r\n");
    }

    void init() {
        m_prompts = {};
        m_notifier = {};
        m_log.clear();
        m_dvd.FrameRate = 25;
        m_dvd.DiscPath = m_dir.path() + "/VIDEO_TS/";
        m_titles = std::make_unique<TTaskTree>([] { return QString(); }, [] { return ".mp4"; });
        TTaskNode title;
        title.IsTitle = true;
        title.Number = 1;
        title.OutputName = "Title01";
        title.EndSeconds = title.OrigEndSeconds = title.OrigDuration = 10;
        title.StartText = "00:00:00";
        title.EndText = "00:00:10";
        m_titles->setChecked(m_titles->addTitle(title), true);
        GeneralPreferences general = m_values.defaultPreferences();
        general.outputPath = m_dir.path() + "/";
        m_settings.setGeneral(general);
        m_settings.setProfile(0, "P");
        auto runner = std::make_unique<FakeToolRunner>();
        m_runner = runner.get();
        TConversionController::Sources sources{
            .tree = *m_titles, .dvd = m_dvd, .settings = m_settings, .shownText = {}};
        m_controller = std::make_unique<TConversionController>(
            TConversionController::Widgets{.imgStart = m_start,
                                           .imgStop = m_stop,
                                           .disabledWhileConverting = {m_tree},
                                           .panBottomLeft = m_left,
                                           .panBottomCenter = m_center,
                                           .pgbCurrent = m_current,
                                           .pgbTotal = m_total,
                                           .labCurProgress = m_curText,
                                           .labTotalProgress = m_totalText,
                                           .labFrame = m_frames,
                                           .labElapsed = m_elapsed,
                                           .labRemaining = m_remaining,
                                           .edtOutputDir = m_output,
                                           .cmbProfile = m_profile,
                                           .chkTurnoff = m_turnOff},
            sources, m_values, m_prompts, m_shell, m_power, m_notifier, std::move(runner));
        TConversionController* c = m_controller.get();
        connect(c, &TConversionController::hintShown, this,
                [this](const QString& t) { m_log << "hint " + t; });
        connect(c, &TConversionController::hintHidden, this, [this] { m_log << "hide"; });
        connect(c, &TConversionController::runStarted, this, [this] { m_log << "stop preview"; });
        connect(c, &TConversionController::closeRequested, this, [this] { m_log << "close"; });
    }
    void cleanup() { m_controller.reset(); }

    // Start refuses, with the window's message, what cannot run; nothing is started then.
    void startChecks_data() {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing checked")
            << "items"
            << "Please have Titles and Chapters you want to convert checked.";
        QTest::newRow("output folder missing")
            << "output"
            << "The output path does not exist. Please specify another one.";
        QTest::newRow("no profile") << "profile"
                                    << "Please select a valid output profile.";
    }
    void startChecks() {
        QFETCH(QString, broken);
        if (broken == "items")
            m_titles->applyCheckCommand(TTaskTree::CheckCommand::UncheckAll);
        if (broken == "output")
            m_settings.setOutputFolder("/no/such/folder/");
        if (broken == "profile")
            m_settings.setProfile(-1, QString());
        m_controller->imgStartClick();
        QCOMPARE(m_prompts.notices.size(), 1);
        QTEST(m_prompts.notices[0].text, "message");
        QVERIFY(m_runner->starts.isEmpty());
        QVERIFY(!m_controller->isConverting());
        QVERIFY(m_tree->isEnabled());
    }

    // Start puts the window into its converting state; Stop, or a tool that cannot start, ends
    // the run and gives the window back.
    void startAndEnd_data() {
        QTest::addColumn<bool>("missingTool");
        QTest::addColumn<TConversionDriver::Outcome>("outcome");
        QTest::newRow("stopped") << false << TConversionDriver::Outcome::Cancelled;
        QTest::newRow("encoder missing") << true << TConversionDriver::Outcome::EncoderMissing;
    }
    void startAndEnd() {
        QFETCH(bool, missingTool);
        m_runner->missing = {missingTool, missingTool};
        QSignalSpy ended(m_controller.get(), &TConversionController::runEnded);
        m_controller->imgStartClick();
        if (!missingTool) {
            QVERIFY(m_controller->isConverting());
            QVERIFY(!m_tree->isEnabled());
            QVERIFY(!m_start->isVisible() && m_stop->isVisible());
            QVERIFY(m_left->isVisible() && !m_center->isVisible());
            QCOMPARE(m_log.mid(0, 2), (QStringList{"stop preview", "hint Preparing to convert. "
                                                                   "Please wait..."}));
            QCOMPARE(m_runner->starts.size(), 1);
            QCOMPARE(m_runner->starts[0].slot, IToolRunner::Encoder);
            m_runner->end(IToolRunner::Encoder); // the disc is open: the probe starts
            QTRY_COMPARE(m_runner->starts.size(), 2);
            m_controller->imgStopClick();
        }
        QTRY_COMPARE(ended.size(), 1);
        QTEST(ended[0][0].value<TConversionDriver::Outcome>(), "outcome");
        QVERIFY(!m_controller->isConverting());
        QVERIFY(m_tree->isEnabled());
        QVERIFY(m_start->isVisible() && !m_stop->isVisible());
        QVERIFY(!m_left->isVisible() && m_center->isVisible());
        QVERIFY(!QFile::exists(m_dir.filePath("temp.avi")));
        QCOMPARE(m_log.last(), QString("hide"));
    }

    // Closing the window during a run ends the tools at once; neither the intermediate file nor
    // a half-written output stays.
    void closingDuringARun() {
        m_runner->play(ToolRole::Encode, writes(10));
        m_runner->play(ToolRole::Transcode, hangs({}, 10));
        m_controller->imgStartClick();
        QTRY_VERIFY(m_runner->isRunning(IToolRunner::Transcoder));
        const QString output = m_runner->starts.last().arguments.last();
        QTRY_VERIFY2(QFile::exists(output), qPrintable(output));
        m_controller.reset();
        QVERIFY(!QFile::exists(output));
        QVERIFY(!QFile::exists(m_dir.filePath("temp.avi")));
    }

    // The desktop hears of the run: its progress on the taskbar entry, and how it ended when the
    // window is out of sight.
    void desktopIsTold_data() {
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<QString>("notice");
        QTest::newRow("in sight") << true << false << "";
        QTest::newRow("out of sight")
            << false << false
            << "The conversion is completed successfully. | " + m_dir.path() + "/";
        QTest::newRow("out of sight, stopped") << false << true << "The conversion is canceled. | ";
    }
    void desktopIsTold() {
        QFETCH(bool, active);
        QFETCH(bool, stopped);
        QWidget elsewhere;
        if (active) {
            QApplication::setActiveWindow(&m_window);
        } else {
            elsewhere.show();
            QApplication::setActiveWindow(&elsewhere);
        }
        QTRY_COMPARE(m_window.isActiveWindow(), active);
        m_controller->driver().setOutputCheck(false); // the fake output is no media file
        QSignalSpy ended(m_controller.get(), &TConversionController::runEnded);
        m_controller->imgStartClick();
        QVERIFY(m_runner->endRunsUntil(ToolRole::Encode)); // the disc-open run and the probes
        if (stopped) {
            m_controller->imgStopClick();
        } else {
            TestFiles::write(m_runner->starts.last().arguments.last(), "video");
            QVERIFY(m_runner->endRunsUntil(ToolRole::Transcode));
            TestFiles::write(m_runner->starts.last().arguments.last(), "output");
            m_runner->end(IToolRunner::Transcoder);
        }
        QTRY_COMPARE(ended.size(), 1);
        QFETCH(QString, notice);
        QCOMPARE(m_notifier.notices, notice.isEmpty() ? QStringList() : QStringList{notice});
        QVERIFY(!m_notifier.progress.isEmpty());
        QCOMPARE(m_notifier.progress.last(), -1.0); // hidden again at the end
        if (!stopped)
            QFile::remove(m_runner->starts.last().arguments.last());
    }

    // After a finished run: turning off comes before the exit, an exit opens no folder, and a
    // report nobody would read is left beside the outputs.
    void completion_data() {
        QTest::addColumn<bool>("turnOff");
        QTest::addColumn<bool>("exitProgram");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<QStringList>("expected"); // what happened, in order
        QTest::newRow("success") << false << false << false
                                 << QStringList{"notice The conversion is completed successfully.",
                                                "open", "goes on"};
        QTest::newRow("failure") << false << false << true
                                 << QStringList{"notice The conversion is finished, but one item "
                                                "failed:",
                                                "open", "goes on"};
        QTest::newRow("turn off") << true << true << false
                                  << QStringList{"hint Conversion is completed. Turning off the "
                                                 "computer...",
                                                 "power off", "close"};
        QTest::newRow("exit with a failure")
            << false << true << true << QStringList{"report", "close"};
    }
    void completion() {
        QFETCH(bool, turnOff);
        QFETCH(bool, exitProgram);
        QFETCH(bool, failed);
        QTemporaryDir out;
        QStringList happened;
        TestClock clock;
        TCompletionActions actions(m_power, m_prompts, m_shell, clock);
        CompletionChoices choices{turnOff, exitProgram, true, out.path() + "/"};
        RunResult result;
        if (failed)
            result.failures << ItemFailure{"Title01.mp4", "the transcoder failed", {}};
        const int powerOffs = m_power.powerOffCalls;
        const bool goesOn = actions.run(
            choices, result, [&](const QString& t) { happened << "hint " + t; },
            [&] {
                if (m_power.powerOffCalls > powerOffs)
                    happened << "power off";
                if (QFile::exists(out.filePath(RunReportFileName)))
                    happened << "report";
                happened << "close";
            });
        for (const FakePrompts::Shown& n : m_prompts.notices)
            happened << "notice " + n.text.section('\n', 0, 0);
        if (!m_shell.opened.isEmpty())
            happened << "open";
        if (goesOn)
            happened << "goes on";
        QTEST(happened, "expected");
        m_shell.opened.clear();
    }

    void completionReportsWhatHappened_data() {
        QTest::addColumn<bool>("exitProgram");
        QTest::addColumn<int>("failed");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<QString>("caption"); // of the message; empty: none shown
        QTest::addColumn<QString>("report");  // the start of the message or the report file
        QTest::newRow("all converted") << false << 0 << 0 << "Complete"
                                       << "The conversion is completed successfully.";
        QTest::newRow("skipped is no success")
            << false << 0 << 2 << "Complete"
            << "The conversion is finished, but 2 items were skipped:\n\nA.mp4: skipped";
        QTest::newRow("failed and skipped")
            << false << 1 << 1 << "Conversion failed"
            << "The conversion is finished, but one item failed:\n\nF.mp4: broken\n\n"
               "One item was skipped:\n\nA.mp4: skipped";
        QTest::newRow("exit leaves the report beside the outputs")
            << true << 1 << 0 << ""
            << "The conversion is finished, but one item failed:";
        QTest::newRow("exit after a clean run leaves no file") << true << 0 << 0 << ""
                                                               << "";
    }
    void completionReportsWhatHappened() {
        QFETCH(bool, exitProgram);
        QFETCH(int, failed);
        QFETCH(int, skipped);
        QFETCH(QString, caption);
        QFETCH(QString, report);
        QTemporaryDir out;
        FakePower power;
        FakeShell shell;
        TestClock clock;
        TCompletionActions actions(power, m_prompts, shell, clock);
        RunResult result;
        for (int i = 0; i < failed; ++i)
            result.failures.append({"F.mp4", "broken", {}});
        for (int i = 0; i < skipped; ++i)
            result.skipped << "A.mp4";
        CompletionChoices choices;
        choices.exitProgram = exitProgram;
        choices.outputFolderText = out.path();
        bool closed = false;
        QCOMPARE(actions.run(choices, result, {}, [&] { closed = true; }), !exitProgram);
        QCOMPARE(closed, exitProgram);
        QCOMPARE(m_prompts.notices.isEmpty(), caption.isEmpty());
        const QString file = out.filePath(RunReportFileName);
        if (!caption.isEmpty()) {
            QCOMPARE(m_prompts.notices[0].caption, caption);
            QVERIFY2(m_prompts.notices[0].text.startsWith(report),
                     qPrintable(m_prompts.notices[0].text));
            QVERIFY(!QFile::exists(file));
        } else {
            QCOMPARE(QFile::exists(file), !report.isEmpty());
            if (!report.isEmpty()) { // each run appended
                QVERIFY(actions.run(choices, result, {}, [] {}) == false);
                const QString text = QString::fromUtf8(TestFiles::read(file));
                QCOMPARE(text.count(report), 2);
                QVERIFY(text.startsWith("Kelvo Ripvale, "));
            }
        }
    }
};

QTEST_MAIN(TestConversionController)
#include "tst_conversioncontroller.moc"
