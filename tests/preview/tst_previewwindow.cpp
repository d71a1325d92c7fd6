#include "convert/toolrunner.h"
#include "preview/mpvbackend.h"
#include "support/privatexserver.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

namespace {
QString g_display;
} // namespace

// The player as a desktop runs it: in a real X window, with the video outputs the program asks
// for (the GPU one first), on an X server without a GPU. Fifty rounds of play, play another,
// let one end, switch off and on, and a conversion's encoder running alongside; the program
// must come out of it alive and still playing.
class TestPreviewWindow : public QObject {
    Q_OBJECT
private slots:
    void manyRoundsLeaveTheProgramAlive() {
        const QString disc = qEnvironmentVariable("RIPVALE_SAMPLE_DVD");
        if (!QDir(disc + "/VIDEO_TS").exists())
            QSKIP("The sample disc has not been made (build the sample_dvd target).");
        if (g_display.isEmpty())
            QSKIP("Xvfb could not be started.");
        QWidget window;
        window.resize(320, 240);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TMpvBackend backend(
            {[&window] { return quint64(window.winId()); }, QStringLiteral("gpu,xv,x11"), "null"});
        QStringList failures;
        int started = 0;
        QObject::connect(&backend, &IPlaybackBackend::started, [&] { ++started; });
        QObject::connect(&backend, &IPlaybackBackend::failed,
                         [&](const QString& reason) { failures << reason; });
        TToolRunner encoder;
        const QString ifo = disc + "/VIDEO_TS/VIDEO_TS.IFO";
        const QString mencoder =
            QFileInfo(qEnvironmentVariable("RIPVALE_PROGRAM_DIR") + "/asapi.dll")
                .canonicalFilePath();
        for (int round = 0; round < 50; ++round) {
            const int title = round % 4 + 1;
            backend.switchOn(true);
            backend.renderVolume(ifo);
            backend.run();
            if (round % 7 == 3) // a conversion starts during the preview
                QVERIFY(encoder.start(TToolRunner::Encoder, mencoder,
                                      {"dvd://1", "-dvd-device", disc + "/VIDEO_TS", "-endpos", "2",
                                       "-ovc", "lavc", "-nosound", "-o", "/dev/null"}));
            const int before = started;
            if (round % 3 == 1)
                backend.playChapterInTitle(title, 2);
            else
                backend.playTitle(title);
            QTRY_VERIFY2_WITH_TIMEOUT(started > before || !failures.isEmpty(),
                                      qPrintable(QString("round %1").arg(round)), 10000);
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
            if (round % 5 == 4) { // play on to the title's end, where the pane's count stops it
                const int length = backend.playerProperty("duration").toInt();
                backend.playAtTime(DvdTimecode::fromSeconds(qMax(0, length - 1)));
                QTRY_VERIFY_WITH_TIMEOUT(backend.playerProperty("time-pos").toDouble() >= length,
                                         10000);
            } else {
                QTest::qWait(150);
            }
            backend.stop();
            if (round % 10 == 9) // the pane released, as opening another disc does
                backend.switchOn(false);
        }
        QVERIFY(failures.isEmpty());
        encoder.terminate(TToolRunner::Encoder);
    }
};

int main(int argc, char* argv[]) {
    const TPrivateXServer server;
    g_display = QString::fromLatin1(server.display());
    qputenv("DISPLAY", server.display());
    qputenv("QT_QPA_PLATFORM", g_display.isEmpty() ? "offscreen" : "xcb");
    QApplication app(argc, argv);
    TestPreviewWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_previewwindow.moc"
