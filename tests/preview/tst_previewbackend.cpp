#include "preview/mpvbackend.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

// The mpv player on the sample disc, with null video and audio outputs: each jump lands
// where it was asked to, read back from mpv itself.
class TestMpvBackend : public QObject {
    Q_OBJECT
private:
    QString m_ifo;
    std::unique_ptr<TMpvBackend> m_backend;
    QStringList m_failures;
    int m_started = 0;

    // The processes this test has started: the player.
    static QList<pid_t> children() {
        QList<pid_t> pids;
        QFile file(QStringLiteral("/proc/self/task/%1/children").arg(::getpid()));
        if (file.open(QIODevice::ReadOnly))
            for (const QByteArray& pid : file.readAll().split(' '))
                if (pid.toInt() > 0)
                    pids << pid.toInt();
        return pids;
    }

    double number(const char* property) const {
        return m_backend->playerProperty(property).toDouble();
    }

    // Switches on and opens the sample disc the way Play does.
    void open(const QString& ifo) {
        m_backend->switchOn(true);
        m_backend->renderVolume(ifo);
        m_backend->run();
    }

    // Waits until the title plays from its new place.
    void waitPlaying() {
        QSignalSpy restarted(m_backend.get(), &TMpvBackend::playbackRestarted);
        QTRY_VERIFY_WITH_TIMEOUT(m_backend->isLoaded(), 10000);
        QVERIFY(restarted.count() > 0 || restarted.wait(10000));
    }

private slots:
    void initTestCase() {
        const QString disc = qEnvironmentVariable("RIPVALE_SAMPLE_DVD");
        if (disc.isEmpty() || !QDir(disc + "/VIDEO_TS").exists())
            QSKIP("The sample disc has not been made (build the sample_dvd target).");
        m_ifo = disc + "/VIDEO_TS/VIDEO_TS.IFO";
    }

    void init() {
        m_failures.clear();
        m_started = 0;
        m_backend = std::make_unique<TMpvBackend>(
            TMpvBackend::Options{[] { return quint64(0); }, "null", "null"});
        connect(m_backend.get(), &IPlaybackBackend::started, this, [this] { ++m_started; });
        connect(m_backend.get(), &IPlaybackBackend::failed, this,
                [this](const QString& reason) { m_failures << reason; });
        QCOMPARE(m_backend->state(), PlaybackState::NoGraph);
    }

    void cleanup() {
        m_backend.reset();
        QTRY_VERIFY(children().isEmpty()); // no player outlives its backend
    }

    void lands_data() {
        QTest::addColumn<int>("title");
        QTest::addColumn<int>("chapter");
        QTest::addColumn<int>("seek"); // -1: none
        QTest::addColumn<bool>("seekAtOnce");
        QTest::addColumn<bool>("image"); // the disc's image rather than its folder
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("position");
        QTest::newRow("title 1") << 1 << 0 << -1 << false << false << 25.0 << 0.0;
        QTest::newRow("title 2") << 2 << 0 << -1 << false << false << 12.0 << 0.0;
        QTest::newRow("title 4 in the second title set")
            << 4 << 0 << -1 << false << false << 8.0 << 0.0;
        QTest::newRow("chapter 3 of title 1") << 1 << 3 << -1 << false << false << 25.0 << 12.0;
        QTest::newRow("chapter 2 of title 3") << 3 << 2 << -1 << false << false << 15.0 << 4.0;
        QTest::newRow("time in title 2") << 2 << 0 << 5 << false << false << 12.0 << 5.0;
        QTest::newRow("time after a chapter") << 3 << 2 << 10 << false << false << 15.0 << 10.0;
        QTest::newRow("time asked while loading") << 1 << 0 << 20 << true << false << 25.0 << 20.0;
        QTest::newRow("chapter of the disc image") << 3 << 2 << -1 << false << true << 15.0 << 4.0;
    }
    void lands() {
        QFETCH(int, title);
        QFETCH(int, chapter);
        QFETCH(int, seek);
        QFETCH(bool, seekAtOnce);
        QFETCH(bool, image);
        const QString iso = qEnvironmentVariable("RIPVALE_SAMPLE_ISO");
        if (image && !QFileInfo(iso).isFile())
            QSKIP("The sample disc's image has not been made (build the sample_iso target).");
        open(image ? iso : m_ifo);
        if (chapter > 0)
            m_backend->playChapterInTitle(title, chapter);
        else
            m_backend->playTitle(title);
        QSignalSpy restarted(m_backend.get(), &TMpvBackend::playbackRestarted);
        if (seekAtOnce)
            m_backend->playAtTime(DvdTimecode::fromSeconds(seek));
        waitPlaying();
        if (seek >= 0 && !seekAtOnce) {
            restarted.clear();
            m_backend->playAtTime(DvdTimecode::fromSeconds(seek));
            QVERIFY(restarted.wait(10000));
        }
        QFETCH(double, position);
        QTRY_VERIFY(number("time-pos") >= position - 0.1);
        const double at = number("time-pos");
        QVERIFY2(at < position + 0.8, qPrintable(QString::number(at)));
        QCOMPARE(m_backend->playerProperty("path").toString(), QString("dvd://%1").arg(title - 1));
        QTEST(number("duration"), "duration");
        QCOMPARE(m_backend->state(), PlaybackState::Running);
        QCOMPARE(m_started, 1);
        QVERIFY(m_failures.isEmpty());
    }

    void laterTitleReplacesEarlier() {
        QSignalSpy loaded(m_backend.get(), &TMpvBackend::fileLoaded);
        open(m_ifo);
        m_backend->playTitle(1);
        m_backend->playTitle(4);
        waitPlaying();
        QTest::qWait(300);
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(number("duration"), 8.0);
    }

    void pauseRunStop() {
        open(m_ifo);
        m_backend->playTitle(2);
        waitPlaying();
        m_backend->pause();
        QCOMPARE(m_backend->state(), PlaybackState::Paused);
        QTRY_COMPARE(m_backend->playerProperty("pause").toBool(), true);
        const double at = number("time-pos");
        QTest::qWait(500);
        QCOMPARE(number("time-pos"), at);
        m_backend->run();
        QCOMPARE(m_backend->state(), PlaybackState::Running);
        QTRY_COMPARE(m_backend->playerProperty("pause").toBool(), false);
        QTRY_VERIFY(number("time-pos") > at);
        m_backend->stop();
        QCOMPARE(m_backend->state(), PlaybackState::Stopped);
        QTRY_COMPARE(m_backend->playerProperty("idle-active").toBool(), true);
        m_backend->switchOn(false);
        QCOMPARE(m_backend->state(), PlaybackState::NoGraph);
    }

    void subtitles() {
        open(m_ifo);
        m_backend->playTitle(1);
        m_backend->setSubpictureState(true);
        m_backend->selectSubpictureStream(0);
        waitPlaying();
        QTRY_COMPARE(m_backend->playerProperty("current-tracks/sub/src-id").toInt(), 0x20);
        m_backend->setSubpictureState(false);
        QTRY_VERIFY(!m_backend->playerProperty("current-tracks/sub").isValid());

        // A title of the second title set has no subtitle: nothing is shown.
        m_backend->playTitle(3);
        m_backend->setSubpictureState(true);
        m_backend->selectSubpictureStream(0);
        waitPlaying();
        QTest::qWait(200);
        QVERIFY(!m_backend->playerProperty("current-tracks/sub").isValid());
        QVERIFY(m_failures.isEmpty());
    }

    void failures_data() {
        QTest::addColumn<QByteArray>("ifo");
        QTest::addColumn<int>("title");
        QTest::addColumn<int>("playerSignal"); // sent to the player once it plays; 0: none
        QTest::newRow("not a disc") << QByteArray("garbage") << 1 << 0;
        QTest::newRow("no such title") << QByteArray() << 9 << 0;
        QTest::newRow("player crashes") << QByteArray() << 2 << int(SIGSEGV);
        QTest::newRow("player killed") << QByteArray() << 2 << int(SIGKILL);
    }
    void failures() {
        QFETCH(QByteArray, ifo);
        QFETCH(int, title);
        QFETCH(int, playerSignal);
        QString path = m_ifo;
        QTemporaryDir dir;
        if (!ifo.isEmpty()) {
            path = dir.filePath("VIDEO_TS.IFO");
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ifo);
        }
        open(path);
        m_backend->playTitle(title);
        if (playerSignal != 0) {
            waitPlaying();
            const QList<pid_t> players = children();
            QCOMPARE(players.size(), 1);
            ::kill(players[0], playerSignal);
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_failures.size(), 1, 20000);
        QVERIFY(!m_failures[0].isEmpty());
        QCOMPARE(m_backend->state(), PlaybackState::Stopped);
        QCOMPARE(m_started, playerSignal != 0 ? 1 : 0);

        // The player is still usable.
        open(m_ifo);
        m_backend->playTitle(2);
        waitPlaying();
        QCOMPARE(m_failures.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestMpvBackend)
#include "tst_previewbackend.moc"
