#include "core/timetext.h"
#include "preview/previewplayer.h"
#include "previewfakes.h"
#include "support/fakes.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The preview's commands, its counted position and the delayed seek, on a fake player and a
// clock moved by hand.
class TestPreviewPlayer : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    FakeView m_view;
    FakeBackend m_backend;
    FakePrompts m_prompts;
    TestClock m_clock;
    TDVDInformation m_dvd;
    TTaskNode m_title, m_node;
    TPreviewPlayer::FocusedItem m_focus;
    bool m_scrambled = false;
    QStringList m_hints;
    std::unique_ptr<TPreviewPlayer> m_player;
    const QString m_loading = "show Loading.   Please wait....";

    QString prefs() const { return m_dir.filePath("Preferences.ini"); }

    // Focuses title 1, or its chapter `chapter`, spanning start..end.
    void focus(int chapter, const QString& start, const QString& end) {
        m_title = {};
        m_title.IsTitle = true;
        m_title.Number = 1;
        m_node = m_title;
        m_node.IsTitle = chapter == 0;
        m_node.Number = chapter == 0 ? 1 : chapter;
        m_node.OrigStartText = start;
        m_node.OrigEndText = end;
        m_node.OrigStartSeconds = TimeTextToSeconds(start);
        m_focus = {&m_node, chapter > 0 ? &m_title : &m_node};
    }

    void play() {
        m_backend.calls.clear();
        m_player->sbtnPlayClick();
    }

    // Milliseconds until the first seek while the clock runs in 10 ms steps; -1 if none.
    qint64 msToSeek(int within) {
        const qint64 from = m_clock.nowMs();
        for (int t = 0; t < within && m_backend.callsOf("time").isEmpty(); t += 10)
            m_clock.advance(10);
        return m_backend.callsOf("time").isEmpty() ? -1 : m_clock.nowMs() - from;
    }

private slots:
    void init() {
        m_player.reset();
        TestFiles::write(m_dir.filePath("VIDEO_TS/VIDEO_TS.IFO"), "DVDVIDEO-VMG");
        TestFiles::write(prefs(), "[Main]\nFirstUse=0\n");
        m_view = {};
        m_backend.reset();
        m_prompts = {};
        m_dvd.DiscPath = m_dir.filePath("VIDEO_TS/");
        m_scrambled = false;
        m_hints.clear();
        focus(0, "00:00:00", "00:00:12");
        m_player = std::make_unique<TPreviewPlayer>(TPreviewPlayer::Services{
            m_view, m_backend, m_prompts, m_clock, m_dvd, prefs(), "Kelvo Ripvale",
            [this] { return m_focus; }, [this](const QString& t) { m_hints << "show " + t; },
            [this] { m_hints << "hide"; }, [this](const QString&, int) { return m_scrambled; }});
    }

    void playStartsTheItem_data() {
        QTest::addColumn<int>("chapter");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("subtitle");
        QTest::addColumn<QStringList>("jump");
        QTest::addColumn<QString>("middle");
        QTest::newRow("title, no subtitle")
            << 0 << "00:00:12" << 0 << QStringList{"title 1", "subpicture 0"} << "00:00:06";
        QTest::newRow("chapter, first subtitle")
            << 3 << "00:00:18" << 1 << QStringList{"chapter 1 3", "subpicture 1", "stream 0"}
            << "00:00:15";
        QTest::newRow("middle rounds half to even")
            << 2 << "00:00:17" << 2 << QStringList{"chapter 1 2", "subpicture 1", "stream 1"}
            << "00:00:14";
    }
    void playStartsTheItem() {
        QFETCH(int, chapter);
        QFETCH(QString, end);
        QFETCH(int, subtitle);
        const QString start = chapter ? "00:00:12" : "00:00:00";
        focus(chapter, start, end);
        m_node.SubtitleIndex = subtitle;
        play();
        QFETCH(QStringList, jump);
        QCOMPARE(m_backend.calls,
                 QStringList({"clear", "switchOn 0", "switchOn 1",
                              "render " + m_dvd.DiscPath + "VIDEO_TS.IFO", "run"}) +
                     jump);
        QCOMPARE(m_backend.current, PlaybackState::Running);
        QCOMPARE(m_view.start, start);
        QCOMPARE(m_view.end, end);
        QTEST(m_view.middle, "middle");
        QVERIFY(m_player->tickEnabled());
        // The notice stays until the title plays.
        QCOMPARE(m_hints, QStringList{m_loading});
        emit m_backend.started();
        QCOMPARE(m_hints, QStringList({m_loading, "hide"}));
    }

    void ticks_data() {
        QTest::addColumn<int>("chapter");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("bar");
        QTest::addColumn<bool>("running");
        QTest::newRow("first tick") << 0 << "00:00:00"
                                    << "00:00:12" << 1 << "00:00:01" << 8 << true;
        QTest::newRow("half way") << 0 << "00:00:00"
                                  << "00:00:12" << 6 << "00:00:06" << 50 << true;
        QTest::newRow("end: bar back, label at the end")
            << 0 << "00:00:00"
            << "00:00:12" << 12 << "00:00:12" << 0 << false;
        QTest::newRow("past the end stays stopped") << 0 << "00:00:00"
                                                    << "00:00:12" << 20 << "00:00:12" << 0 << false;
        QTest::newRow("chapter counts from its start")
            << 2 << "00:01:00"
            << "00:01:40" << 25 << "00:01:25" << 62 << true;
        QTest::newRow("zero length stops at the first tick")
            << 2 << "00:00:05"
            << "00:00:05" << 1 << "00:00:05" << 0 << false;
    }
    void ticks() {
        QFETCH(int, chapter);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(int, seconds);
        focus(chapter, start, end);
        play();
        m_clock.advance(seconds * 1000);
        QTEST(m_view.playTime, "label");
        QTEST(m_view.bar, "bar");
        QFETCH(bool, running);
        QCOMPARE(m_backend.current == PlaybackState::Running, running);
        QCOMPARE(m_player->tickEnabled(), running);
        m_clock.advance(1000);
        QVERIFY(m_backend.callsOf("time").isEmpty()); // the tick's moves are no user's
    }

    void userStop() {
        focus(3, "00:00:12", "00:00:18");
        play();
        m_clock.advance(4000);
        QCOMPARE(m_view.playTime, "00:00:16");
        m_backend.calls.clear();
        m_player->sbtnStopClick();
        QCOMPARE(m_backend.calls, QStringList({"stop", "clear"}));
        QCOMPARE(m_view.playTime, "00:00:12");
        QCOMPARE(m_view.bar, 0);
        QVERIFY(!m_player->tickEnabled());
        m_backend.calls.clear();
        m_player->sbtnStopClick(); // on a stopped preview: nothing
        m_player->sbtnPauseClick();
        QVERIFY(m_backend.calls.isEmpty());
    }

    void drag_data() {
        QTest::addColumn<int>("chapter");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("seek");
        QTest::newRow("title") << 0 << "00:00:00"
                               << "00:00:12" << 50 << "00:00:06"
                               << "time 0:0:6.0";
        QTest::newRow("chapter seeks from its start") << 3 << "00:00:12"
                                                      << "00:00:18" << 50 << "00:00:15"
                                                      << "time 0:0:15.0";
        QTest::newRow("hours and minutes") << 0 << "00:00:00"
                                           << "02:00:00" << 76 << "01:31:12"
                                           << "time 1:31:12.0";
        QTest::newRow("back to the start") << 2 << "00:00:06"
                                           << "00:00:12" << 0 << "00:00:06"
                                           << "time 0:0:6.0";
    }
    void drag() {
        QFETCH(int, chapter);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(int, position);
        focus(chapter, start, end);
        play();
        m_clock.advance(3000);
        const int elapsed = m_player->elapsedSeconds();
        // A drag of 1.5 s across a tick, ending at `position`; the label follows every move.
        for (int step = 9; step >= 0; --step) {
            const int p = position + (position < 50 ? step : -step) * 3;
            m_player->TrackBarChange(p);
            QCOMPARE(m_view.playTime,
                     SecondsToTimeText(RoundHalfEven(p * m_player->durationSeconds() / 100.0) +
                                       m_player->startOffsetSeconds()));
            if (step > 0)
                m_clock.advance(150);
        }
        QTEST(m_view.playTime, "label");
        QVERIFY(m_backend.callsOf("time").isEmpty());
        QCOMPARE(m_player->elapsedSeconds(), elapsed); // the tick waited
        const qint64 delay = msToSeek(1000);
        QVERIFY2(delay >= 200 && delay <= 400, qPrintable(QString::number(delay)));
        QFETCH(QString, seek);
        QCOMPARE(m_backend.callsOf("time"), QStringList{seek});
        // The count goes on from the place sought.
        const int sought = RoundHalfEven(position * m_player->durationSeconds() / 100.0);
        QCOMPARE(m_player->elapsedSeconds(), sought);
        m_clock.advance(1000);
        QCOMPARE(m_player->elapsedSeconds(), sought + 1);
        QCOMPARE(m_backend.callsOf("time").size(), 1);
    }

    void pauseResumesTheCount() {
        play();
        m_clock.advance(3000);
        m_player->sbtnPauseClick();
        QCOMPARE(m_backend.current, PlaybackState::Paused);
        m_clock.advance(5000);
        QCOMPARE(m_view.playTime, "00:00:03");
        m_player->sbtnPauseClick();
        QCOMPARE(m_backend.current, PlaybackState::Running);
        m_clock.advance(2000);
        QCOMPARE(m_view.playTime, "00:00:05");
    }

    void playWhilePlayingRestarts() {
        play();
        m_clock.advance(4500);
        focus(2, "00:00:06", "00:00:12"); // another item took the focus meanwhile
        QCOMPARE(m_view.playTime, "00:00:04");
        play();
        QVERIFY(m_backend.calls.contains("chapter 1 2"));
        QCOMPARE(m_player->elapsedSeconds(), 0);
        QCOMPARE(m_view.bar, 0);
        QCOMPARE(m_view.playTime, "00:00:06"); // the new item's start
        // The bar's reset was a move: a seek to the start offset follows.
        const qint64 delay = msToSeek(500);
        QVERIFY(delay >= 200 && delay <= 400);
        QCOMPARE(m_backend.callsOf("time"), QStringList{"time 0:0:6.0"});
        m_clock.advance(900 - delay); // the count starts a whole second after the Play
        QCOMPARE(m_view.playTime, "00:00:06");
        m_clock.advance(100);
        QCOMPARE(m_view.playTime, "00:00:07");
    }

    void firstUseNotice_data() {
        QTest::addColumn<QByteArray>("preferences");
        QTest::addColumn<bool>("shown");
        QTest::newRow("no file") << QByteArray() << true;
        QTest::newRow("no key") << QByteArray("[Main]\nProfile=2\n") << true;
        QTest::newRow("true") << QByteArray("[Main]\nFirstUse=1\n") << true;
        QTest::newRow("false") << QByteArray("[main]\nfirstuse=0\n") << false;
    }
    void firstUseNotice() {
        QFETCH(QByteArray, preferences);
        QFile::remove(prefs());
        if (!preferences.isEmpty())
            TestFiles::write(prefs(), preferences);
        play();
        play();
        QFETCH(bool, shown);
        QCOMPARE(m_prompts.notices.size(), shown ? 1 : 0);
        if (shown) {
            QCOMPARE(m_prompts.notices[0].text,
                     "This product is not desinged for playing DVD movies, so it\n\rmay not play "
                     "some copyright (region) protected DVD properly.\n\rNote: Ripping copyright "
                     "protected DVD is illegal in come countries.");
            QCOMPARE(m_prompts.notices[0].caption, "Kelvo Ripvale");
            QVERIFY(TestFiles::read(prefs()).contains("FirstUse=0"));
        }
        QCOMPARE(m_backend.current, PlaybackState::Running);
    }

    void refusals_data() {
        QTest::addColumn<QString>("discPath");
        QTest::addColumn<bool>("scrambled");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        const QString gone = QDir::tempPath() + "/no-such-disc/VIDEO_TS/";
        const QString notFound = " can not be found. Please insert and open the DVD.";
        QTest::newRow("no VIDEO_TS.IFO")
            << gone << false << gone + "VIDEO_TS.IFO" + notFound << "VIDEO_TS.IFO not found";
        QTest::newRow("no disc opened")
            << QString() << false << "VIDEO_TS.IFO" + notFound << "VIDEO_TS.IFO not found";
        QTest::newRow("copy protected")
            << "disc" << true
            << "This DVD is copy protected (encrypted), and the preview can play only "
               "unencrypted discs and folders."
            << "Kelvo Ripvale";
    }
    void refusals() {
        QFETCH(QString, discPath);
        QFETCH(bool, scrambled);
        play();
        m_clock.advance(2500);
        if (discPath != "disc")
            m_dvd.DiscPath = discPath;
        m_scrambled = scrambled;
        m_hints.clear();
        play();
        // The earlier preview is gone, and nothing counts on over it.
        QCOMPARE(m_backend.calls, QStringList({"clear", "switchOn 0"}));
        QCOMPARE(m_hints, QStringList({m_loading, "hide"}));
        QCOMPARE(m_prompts.notices.size(), 1);
        QTEST(m_prompts.notices[0].text, "text");
        QTEST(m_prompts.notices[0].caption, "caption");
        QCOMPARE(m_view.bar, 0);
        m_clock.advance(3000);
        QCOMPARE(m_view.playTime, "00:00:00");
        QCOMPARE(m_backend.calls.size(), 2);
    }

    void playerFailureStops() {
        focus(2, "00:00:06", "00:00:12");
        play();
        m_clock.advance(2000);
        emit m_backend.failed("Couldn't open DVD device");
        QVERIFY(m_prompts.notices.isEmpty()); // no dialog in the way of the window
        QCOMPARE(m_view.notice, "The preview can not play this DVD.\n\nCouldn't open DVD device");
        QCOMPARE(m_backend.current, PlaybackState::Stopped);
        QCOMPARE(m_hints, QStringList({m_loading, "hide"}));
        QCOMPARE(m_view.bar, 0);
        QCOMPARE(m_view.playTime, "00:00:06");
        m_clock.advance(2000);
        QVERIFY(m_backend.callsOf("time").isEmpty());
        QVERIFY(!m_player->tickEnabled());
        play(); // the next try takes the notice away
        QVERIFY(m_view.notice.isEmpty());
    }

    void noFocusDoesNothing() {
        TestFiles::write(prefs(), "[Main]\n"); // a first use, yet no notice without an item
        m_focus = {};
        play();
        QVERIFY(m_backend.calls.isEmpty());
        QVERIFY(m_prompts.notices.isEmpty());
        QVERIFY(m_hints.isEmpty());
    }

    void conversion() {
        play();
        m_player->setConverting(true);
        QVERIFY(!m_view.enabled);
        QCOMPARE(m_backend.current, PlaybackState::Stopped);
        play(); // a double click cannot start it either
        QVERIFY(m_backend.calls.isEmpty());
        m_player->setConverting(false);
        QVERIFY(m_view.enabled);
        play();
        QCOMPARE(m_backend.current, PlaybackState::Running);
    }
};

QTEST_GUILESS_MAIN(TestPreviewPlayer)
#include "tst_previewplayer.moc"
