#include "convert/toolrunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <csignal>

#include <unistd.h>

Q_DECLARE_METATYPE(TToolRunner::Slot)

namespace {

struct Output {
    QStringList chunks;
    QList<int> indexes;
    int exitCode = -1;
    bool crashed = false;
    bool ended = false;
    bool chunkAfterEnd = false;
};

// Runs a shell script in a slot and collects what the runner reports until it ends.
Output runScript(TToolRunner& runner, const QString& script, int timeoutMs = 20000) {
    Output out;
    QObject context;
    QObject::connect(&runner, &TToolRunner::chunk, &context,
                     [&](TToolRunner::Slot, const QString& text, int index) {
                         out.chunks << text;
                         out.indexes << index;
                         out.chunkAfterEnd = out.chunkAfterEnd || out.ended;
                     });
    QObject::connect(&runner, &TToolRunner::finished, &context,
                     [&](TToolRunner::Slot, int code, bool crashed) {
                         out.exitCode = code;
                         out.crashed = crashed;
                         out.ended = true;
                     });
    if (!runner.start(TToolRunner::Encoder, "/bin/sh", {"-c", script}))
        return out;
    static_cast<void>(QTest::qWaitFor([&] { return out.ended; }, timeoutMs));
    return out;
}

int openDescriptors() {
    return int(QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size());
}

// A zombie waiting for its parent to collect it counts as gone.
bool alive(pid_t pid) {
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) != "Z";
}

} // namespace

class TestToolRunner : public QObject {
    Q_OBJECT
private slots:
    void output_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("joined");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("error joins output, last words before the end")
            << "echo out; echo err >&2; printf last; exit 3"
            << "out\nerr\nlast" << 3;
        QTest::newRow("a zero byte ends the chunk's text") << "printf 'abc\\000def'; exit 0"
                                                           << "abc" << 0;
        QTest::newRow("long output in reads of at most 4095 bytes")
            << "head -c 10000 /dev/zero | tr '\\000' a" << QString(10000, u'a') << 0;
        QTest::newRow("silence") << "sleep 0.3" << QString() << 0;
    }
    void output() {
        QFETCH(QString, script);
        QFETCH(QString, joined);
        QFETCH(int, exitCode);
        TToolRunner runner;
        const Output out = runScript(runner, script);
        QVERIFY(out.ended);
        QCOMPARE(out.chunks.join(QString()), joined);
        QCOMPARE(out.exitCode, exitCode);
        QVERIFY(!out.crashed);
        QVERIFY(!out.chunkAfterEnd);
        for (int i = 0; i < out.chunks.size(); ++i) {
            QCOMPARE(out.indexes[i], i);
            QVERIFY(out.chunks[i].size() <= TToolRunner::ChunkSize);
        }
        QCOMPARE(runner.lastOutput(TToolRunner::Encoder), out.chunks.value(out.chunks.size() - 1));
        QVERIFY(!runner.isRunning(TToolRunner::Encoder));
    }

    // A tool that prints a line per frame is read a few times a second, not once per line.
    void frequentLinesAreReadInBatches() {
        TToolRunner runner;
        const Output out =
            runScript(runner, "i=0; while [ $i -lt 300 ]; do echo \"Pos: $i.0s\"; sleep 0.005; "
                              "i=$((i+1)); done");
        QCOMPARE(out.chunks.join(QString()).count(u'\n'), 300);
        QVERIFY2(out.chunks.size() < 100, qPrintable(QString::number(out.chunks.size())));
    }

    void crashesAndTerminationAreNoticed() {
        TToolRunner runner;
        QVERIFY(runScript(runner, "kill -9 $$").crashed);

        QSignalSpy ended(&runner, &TToolRunner::finished);
        QVERIFY(runner.start(TToolRunner::Transcoder, "/bin/sh", {"-c", "sleep 30"}));
        QVERIFY(runner.isRunning(TToolRunner::Transcoder));
        runner.terminate(TToolRunner::Transcoder);
        QVERIFY(ended.wait(5000));
        QCOMPARE(ended.first().at(0).value<TToolRunner::Slot>(), TToolRunner::Transcoder);
        QCOMPARE(ended.first().at(2).toBool(), true);
        runner.terminate(TToolRunner::Transcoder); // has ended: nothing happens
        runner.terminate(TToolRunner::Encoder);    // never ran: nothing happens
        QTest::qWait(100);
        QCOMPARE(ended.size(), 1);
    }

    void missingToolDoesNotStart() {
        TToolRunner runner;
        QSignalSpy ended(&runner, &TToolRunner::finished);
        QString error;
        QVERIFY(!runner.start(TToolRunner::Encoder, "/nonexistent/tool", {}, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!runner.isRunning(TToolRunner::Encoder));
        QTest::qWait(100);
        QVERIFY(ended.isEmpty());
    }

    // A child the tool leaves behind keeps the pipe open; the tool's end is still its end,
    // and the child goes with it.
    void leftBehindChildDoesNotDelayTheEnd() {
        TToolRunner runner;
        QElapsedTimer clock;
        clock.start();
        const Output out = runScript(runner, "sleep 30 & echo $!", 5000);
        QVERIFY(out.ended);
        QVERIFY(clock.elapsed() < 5000);
        const pid_t orphan = pid_t(out.chunks.join(QString()).trimmed().toInt());
        QVERIFY(orphan > 0);
        QTRY_VERIFY_WITH_TIMEOUT(!alive(orphan), 3000);
    }

    // A wrapper script's real tool is its child: ending the tool ends the child too, however
    // the run ends.
    void wrapperChildrenGoWithTheTool_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("terminate") << "terminate";
        QTest::newRow("interrupt") << "interrupt";
        QTest::newRow("runner destroyed") << "destroy";
    }
    void wrapperChildrenGoWithTheTool() {
        QFETCH(QString, how);
        pid_t child = 0;
        {
            TToolRunner runner;
            QSignalSpy output(&runner, &TToolRunner::chunk);
            QSignalSpy ended(&runner, &TToolRunner::finished);
            // A shell's background child ignores SIGINT: what the wrapper leaves goes all the same.
            QVERIFY(
                runner.start(TToolRunner::Encoder, "/bin/sh", {"-c", "sleep 60 & echo $!; wait"}));
            QVERIFY(output.wait(5000));
            child = pid_t(output.first().at(1).toString().trimmed().toInt());
            QVERIFY(child > 0 && alive(child));
            if (how == "terminate")
                runner.terminate(TToolRunner::Encoder);
            else if (how == "interrupt")
                runner.interrupt(TToolRunner::Encoder);
            if (how != "destroy")
                QVERIFY(ended.wait(5000));
        }
        QTRY_VERIFY_WITH_TIMEOUT(!alive(child), 3000);
    }

    void destroyingTheRunnerEndsTheTool() {
        pid_t pid = 0;
        {
            TToolRunner runner;
            QSignalSpy output(&runner, &TToolRunner::chunk);
            QVERIFY(
                runner.start(TToolRunner::Encoder, "/bin/sh", {"-c", "echo $$; exec sleep 30"}));
            QVERIFY(output.wait(5000));
            pid = pid_t(output.first().at(1).toString().trimmed().toInt());
            QVERIFY(pid > 0 && alive(pid));
        }
        QVERIFY(!alive(pid));
    }

    void runsLeaveNoDescriptorsOpen() {
        TToolRunner runner;
        runScript(runner, "echo warm-up");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const int before = openDescriptors();
        for (int i = 0; i < 20; ++i)
            QVERIFY(runScript(runner, "echo run").ended);
        QVERIFY(!runner.start(TToolRunner::Encoder, "/nonexistent/tool", {}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(openDescriptors() <= before + 2,
                 qPrintable(QString("%1 -> %2").arg(before).arg(openDescriptors())));
    }
};

QTEST_GUILESS_MAIN(TestToolRunner)
#include "tst_toolrunner.moc"
