#include "convert/conversiondriver.h"
#include "convert/outputcheck.h"
#include "convert/outputnames.h"
#include "convert/progressparse.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

class TestProgress : public QObject {
    Q_OBJECT
private slots:
    void encoderPosition_data() {
        QTest::addColumn<QString>("chunk");
        QTest::addColumn<QString>("text");
        QTest::newRow("mencoder line") << "Pos:   3.2s     96f (12%)  30.1fps"
                                       << "   3.2";
        QTest::newRow("first Pos wins") << "Pos: 1.0s 30f\rPos: 2.0s 60f\r"
                                        << " 1.0";
        QTest::newRow("no Pos keeps the previous") << "Skipping frame!"
                                                   << "PREV";
        QTest::newRow("token split across reads") << "...0f (3%) Po"
                                                  << "PREV";
        QTest::newRow("rest of a split token") << "s:   4.1s  120f"
                                               << "PREV";
        QTest::newRow("no s after Pos") << "Pos: 7.5"
                                        << " 7.5";
    }
    void encoderPosition() {
        QFETCH(QString, chunk);
        QFETCH(QString, text);
        QCOMPARE(EncoderPositionText(chunk, "PREV"), text);
    }

    void transcoderTime_data() {
        QTest::addColumn<QString>("chunk");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds");
        QTest::newRow("seconds form") << "frame= 50 fps=0.0 q=2.0 size= 12kB time=5.00 bitrate="
                                      << "5.00" << 5.0;
        QTest::newRow("clock form") << "size= 1024kB time=00:01:05.50 bitrate= 128.0kbits/s"
                                    << "00:01:05.50" << 65.5;
        QTest::newRow("no time keeps the previous") << "Press [q] to stop"
                                                    << "00:00:01.00" << 1.0;
        QTest::newRow("N/A is not a time") << "time=N/A bitrate=N/A"
                                           << "N/A" << -1.0;
    }
    void transcoderTime() {
        QFETCH(QString, chunk);
        QFETCH(QString, text);
        QFETCH(double, seconds);
        const QString cut = TranscoderTimeText(chunk, "00:00:01.00");
        QCOMPARE(cut, text);
        QCOMPARE(ParseToolTime(cut).value_or(-1), seconds);
    }

    void decimals() {
        QCOMPARE(ParseDecimal("  12.5 ").value_or(-1), 12.5);
        QCOMPARE(ParseDecimal("7").value_or(-1), 7.0);
        QVERIFY(!ParseDecimal("1.2.3"));
        QVERIFY(!ParseDecimal(""));
        QVERIFY(!ParseDecimal("12 5"));
    }

    void formulas() {
        // Encode pass: position 5 of 10 s, nothing done before, two items of 10 s in all.
        ProgressFigures f = ItemProgress(5, 10, 0, 40, 25);
        QCOMPARE(f.current, 25);
        QCOMPARE(f.total, 12);    // 12.5 to even
        QCOMPARE(f.frames, 62LL); // 62.5 to even
        // Transcode pass at 5 s of 10: 75 % of the item; frames continue from the half.
        f = ItemProgress(10 + 5, 10, 0, 40, 25);
        QCOMPARE(f.current, 75);
        QCOMPARE(f.total, 38);     // 37.5 to even
        QCOMPARE(f.frames, 188LL); // 187.5 to even
        // A zero-length item: no item figures, the total still moves.
        f = ItemProgress(3, 0, 10, 40, 25);
        QVERIFY(!f.hasItemFigures);
        QCOMPARE(f.total, 32); // 32.5 to even
        // Bars hold 0 to 100.
        QCOMPARE(ItemProgress(50, 10, 0, 20, 25).current, 100);
        QCOMPARE(ClampPercent(-3), 0);
    }

    void remaining() {
        QCOMPARE(RemainingSeconds(90, 30).value_or(-1), 210LL);
        QVERIFY(!RemainingSeconds(90, 0));
        QCOMPARE(RemainingSeconds(10, 100).value_or(-1), 0LL);
    }

    void hintText_data() {
        QTest::addColumn<QString>("volume");
        QTest::addColumn<QString>("hint");
        QTest::newRow("short") << "MY_MOVIE"
                               << "Converting: MY_MOVIE-Title01.mp4";
        QTest::newRow("eighteen stays") << "ABCDEFGHIJKLMNOPQR"
                                        << "Converting: ABCDEFGHIJKLMNOPQR-Title01.mp4";
        QTest::newRow("nineteen is cut") << "ABCDEFGHIJKLMNOPQRS"
                                         << "Converting: ABCDEFGHIJKLMNO...-Title01.mp4";
        QTest::newRow("empty keeps the dash") << ""
                                              << "Converting: -Title01.mp4";
    }
    void hintText() {
        QFETCH(QString, volume);
        QFETCH(QString, hint);
        QCOMPARE(HintText(volume, "Title01", ".mp4"), hint);
    }

    void outputNames() {
        ConversionJob job;
        job.outputDir = "/out/";
        job.outputExtension = ".mkv";
        ConversionItem item;
        item.outputName = "Title01-Chapter02";
        QCOMPARE(OutputPath(job, item), QString("/out/Title01-Chapter02.mkv"));
        job.volumeName = "AC/DC\tLIVE";
        QCOMPARE(OutputPath(job, item), QString("/out/AC_DC_LIVE-Title01-Chapter02.mkv"));

        const QDateTime when(QDate(2026, 12, 8), QTime(21, 5, 9));
        const QString renamed = RenamedPath("/out/DISC-Title01.mp4", when);
        QCOMPARE(renamed, QString("/out/DISC-Title01-2026-12-08_21-05-09.mp4"));
        QVERIFY(!renamed.mid(5).contains(':'));

        QCOMPARE(OverwriteQuestion("Title01.mp4"),
                 QString("The output file Title01.mp4 is already existent.\n\rClick \"Yes\" to "
                         "overwrite it. Click \"No\" to skip this file"));
    }

    // What a read-back makes of the picture's frames against its rate, which the driver's
    // table of real files cannot show (their streams' counts follow their lengths).
    void readBack_data() {
        QTest::addColumn<QString>("video"); // duration, frames, rate
        QTest::addColumn<QString>("audio"); // duration
        QTest::addColumn<double>("span");
        QTest::addColumn<int>("marksDue"); // -1: not looked at
        QTest::addColumn<int>("marks");
        QTest::addColumn<QString>("problem"); // empty: complete
        QTest::newRow("film at its rate") << "10.010 240 24000/1001"
                                          << "10.010" << 10.01 << -1 << 0 << "";
        QTest::newRow("more pictures than the span holds")
            << "10.010 300 24000/1001"
            << "10.010" << 10.01 << -1 << 0
            << "the picture holds 300 frames, more than the 240 of 10.0 s";
        QTest::newRow("every chapter mark") << "10.010 240 24000/1001"
                                            << "10.010" << 10.01 << 3 << 3 << "";
        QTest::newRow("a chapter mark lost")
            << "10.010 240 24000/1001"
            << "10.010" << 10.01 << 3 << 2 << "2 of 3 chapter marks";
    }
    void readBack() {
        QFETCH(QString, video);
        QFETCH(QString, audio);
        QFETCH(double, span);
        QFETCH(int, marksDue);
        QFETCH(int, marks);
        QFETCH(QString, problem);
        const QStringList v = video.split(' ');
        const QJsonArray streams{QJsonObject{{"codec_type", "video"},
                                             {"duration", v.value(0)},
                                             {"nb_frames", v.value(1)},
                                             {"avg_frame_rate", v.value(2)}},
                                 QJsonObject{{"codec_type", "audio"}, {"duration", audio}}};
        QJsonArray chapters;
        for (int i = 0; i < marks; ++i)
            chapters << QJsonObject{{"id", i}};
        const QJsonObject probe{{"format", QJsonObject{{"duration", QString::number(span)}}},
                                {"streams", streams},
                                {"chapters", chapters}};
        OutputExpectation expected;
        expected.span = span;
        expected.chapters = marksDue;
        const OutputVerdict verdict = JudgeOutput(QJsonDocument(probe).toJson(), expected);
        QCOMPARE(verdict.complete, problem.isEmpty());
        QVERIFY2(problem.isEmpty() || verdict.problem.startsWith(problem),
                 qPrintable(verdict.problem));
    }
};

QTEST_APPLESS_MAIN(TestProgress)
#include "tst_progress.moc"
