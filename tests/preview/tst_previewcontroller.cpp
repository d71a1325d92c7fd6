#include "preview/mpvbackend.h"
#include "preview/previewcontroller.h"
#include "previewfakes.h"
#include "support/fakes.h"
#include "support/testfiles.h"

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// The preview pane's widgets wired to the logic: buttons, the position bar as the user moves it,
// the labels, and the pane during a conversion.
class TestPreviewController : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_pane;
    TPreviewController::Widgets m_w{};
    FakePrompts m_prompts;
    TDVDInformation m_dvd;
    TTaskNode m_node;
    QStringList m_hints;
    FakeBackend* m_backend = nullptr;
    TestClock* m_clock = nullptr;
    std::unique_ptr<TPreviewController> m_controller;

    template <typename T> T* add(const char* name) {
        auto* w = new T(m_pane.get());
        w->setObjectName(name);
        return w;
    }

    TPreviewController::Services services() {
        return {m_prompts, m_dvd, m_dir.filePath("Preferences.ini"), [this] {
                    return TPreviewPlayer::FocusedItem{&m_node, &m_node};
                }};
    }
    void makeController(std::unique_ptr<IPlaybackBackend> backend, std::unique_ptr<IClock> clock) {
        m_controller = std::make_unique<TPreviewController>(m_w, services(), std::move(backend),
                                                            std::move(clock));
        connect(m_controller.get(), &TPreviewController::hintShown, this,
                [this](const QString& t) { m_hints << t; });
        connect(m_controller.get(), &TPreviewController::hintHidden, this,
                [this] { m_hints << "hide"; });
    }

private slots:
    void init() {
        m_controller.reset();
        m_pane = std::make_unique<QWidget>();
        m_w = {m_pane.get(),
               add<QWidget>("VideoWindow"),
               add<QSlider>("TrackBar"),
               add<QLabel>("labStart"),
               add<QLabel>("labMiddle"),
               add<QLabel>("labEnd"),
               add<QLabel>("labPreviewPlayTime"),
               add<QToolButton>("sbtnPlay"),
               add<QToolButton>("sbtnPause"),
               add<QToolButton>("sbtnStop")};
        m_w.TrackBar->setOrientation(Qt::Horizontal);
        m_prompts = {};
        m_hints.clear();
        m_dvd = {};
        m_node = {};
        m_node.IsTitle = true;
        m_node.Number = 2;
        m_node.OrigStartText = "00:00:00";
        m_node.OrigEndText = "00:00:12";
        m_node.OrigEndSeconds = 12;
        TestFiles::write(m_dir.filePath("Preferences.ini"), "[Main]\nFirstUse=0\n");
    }

    void cleanup() {
        m_controller.reset();
        m_pane.reset();
    }

    void withFakes() {
        TestFiles::write(m_dir.filePath("VIDEO_TS/VIDEO_TS.IFO"), "DVDVIDEO-VMG");
        m_dvd.DiscPath = m_dir.filePath("VIDEO_TS/");
        auto backend = std::make_unique<FakeBackend>();
        auto clock = std::make_unique<TestClock>();
        m_backend = backend.get();
        m_clock = clock.get();
        makeController(std::move(backend), std::move(clock));
        for (QLabel* l : {m_w.labStart, m_w.labMiddle, m_w.labEnd, m_w.labPreviewPlayTime})
            QCOMPARE(l->text(), "00:00:00");
        QVERIFY(m_w.labMiddle->isHidden());
        QCOMPARE(m_w.TrackBar->maximum(), 100);

        m_w.sbtnPlay->click();
        QCOMPARE(m_w.labEnd->text(), "00:00:12");
        QCOMPARE(m_w.labMiddle->text(), "00:00:06");
        m_clock->advance(3000);
        QCOMPARE(m_w.TrackBar->value(), 25);
        QCOMPARE(m_w.labPreviewPlayTime->text(), "00:00:03");
        QVERIFY(m_backend->callsOf("time").isEmpty()); // the tick's moves are not the user's
        m_w.TrackBar->setValue(75);                    // the user's
        QCOMPARE(m_w.labPreviewPlayTime->text(), "00:00:09");
        m_clock->advance(400);
        QCOMPARE(m_backend->callsOf("time"), QStringList{"time 0:0:9.0"});

        m_w.sbtnPause->click();
        QCOMPARE(m_backend->current, PlaybackState::Paused);
        m_w.sbtnStop->click();
        QCOMPARE(m_backend->current, PlaybackState::Stopped);
        QCOMPARE(m_w.TrackBar->value(), 0);

        m_controller->Play();
        m_controller->setConverting(true);
        QVERIFY(!m_pane->isEnabled());
        QCOMPARE(m_backend->current, PlaybackState::Stopped);
        m_controller->setConverting(false);
        QVERIFY(m_pane->isEnabled());
        m_controller->Play();
        m_pane->close(); // the window closing stops the preview
        QCOMPARE(m_backend->current, PlaybackState::Stopped);
    }

    // The whole pane over mpv (null outputs) on the sample disc.
    void withMpv() {
        const QString disc = qEnvironmentVariable("RIPVALE_SAMPLE_DVD");
        if (disc.isEmpty() || !QDir(disc + "/VIDEO_TS").exists())
            QSKIP("The sample disc has not been made (build the sample_dvd target).");
        m_dvd.DiscPath = disc + "/VIDEO_TS/";
        m_node.SubtitleIndex = 1;
        auto backend = std::make_unique<TMpvBackend>(TMpvBackend::Options{{}, "null", "null"});
        TMpvBackend* mpv = backend.get();
        makeController(std::move(backend), std::make_unique<QtClock>());
        QSignalSpy loaded(mpv, &TMpvBackend::fileLoaded);
        m_w.sbtnPlay->click();
        QCOMPARE(m_hints, QStringList{"Loading.   Please wait...."});
        QVERIFY(loaded.wait(10000));
        QCOMPARE(m_hints.last(), "hide");
        QCOMPARE(mpv->playerProperty("duration").toDouble(), 12.0);
        QTRY_COMPARE(mpv->playerProperty("current-tracks/sub/src-id").toInt(), 0x20);
        QTRY_COMPARE_WITH_TIMEOUT(m_w.labPreviewPlayTime->text(), "00:00:02", 3000);
        m_w.sbtnPause->click();
        QTRY_COMPARE(mpv->playerProperty("pause").toBool(), true);
        m_w.sbtnStop->click();
        QTRY_COMPARE(mpv->playerProperty("idle-active").toBool(), true);
        QCOMPARE(m_w.labPreviewPlayTime->text(), "00:00:00");
        QVERIFY(m_prompts.notices.isEmpty());
    }
};

QTEST_MAIN(TestPreviewController)
#include "tst_previewcontroller.moc"
