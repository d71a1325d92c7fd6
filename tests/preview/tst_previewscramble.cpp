#include "preview/scramblecheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A 2048-byte pack whose first packet has stream id `stream` and flags byte `flags`.
QByteArray sector(unsigned char stream, unsigned char flags, bool packHeader = true) {
    QByteArray s(2048, '\xff');
    const unsigned char head[] = {0, 0,      1,    0xBA, 0x44,  0,    4, 0,
                                  4, 1,      1,    0x89, 0xC3,  0xF8, 0, 0,
                                  1, stream, 0x07, 0xEC, flags, 0x80, 5};
    for (size_t i = 0; i < sizeof head; ++i)
        s[int(i)] = char(head[i]);
    if (!packHeader)
        s[3] = char(0xBB);
    return s;
}
} // namespace

// The check that keeps the preview from playing noise off a copy-protected disc.
class TestScrambleCheck : public QObject {
    Q_OBJECT
private slots:
    void sectors_data() {
        QTest::addColumn<QByteArray>("sector");
        QTest::addColumn<bool>("scrambled");
        QTest::newRow("video") << sector(0xE0, 0x81) << false;
        QTest::newRow("video scrambled") << sector(0xE0, 0x91) << true;
        QTest::newRow("video scrambled (other key bits)") << sector(0xE0, 0xA1) << true;
        QTest::newRow("AC3 scrambled") << sector(0xBD, 0xB1) << true;
        QTest::newRow("MPEG audio scrambled") << sector(0xC0, 0x90) << true;
        QTest::newRow("padding full of ones") << sector(0xBE, 0xFF) << false;
        QTest::newRow("navigation") << sector(0xBF, 0x30) << false;
        QTest::newRow("not a pack") << sector(0xE0, 0x91, false) << false;
        QTest::newRow("not MPEG-2 flags") << sector(0xE0, 0x30) << false;
        QTest::newRow("short") << QByteArray(16, '\0') << false;
    }
    void sectors() {
        QFETCH(QByteArray, sector);
        QTEST(ScrambleCheck::sectorIsScrambled(sector), "scrambled");
    }

    void sampleDisc() {
        const QString disc = qEnvironmentVariable("RIPVALE_SAMPLE_DVD");
        if (disc.isEmpty() || !QDir(disc + "/VIDEO_TS").exists())
            QSKIP("The sample disc has not been made (build the sample_dvd target).");

        // A copy whose first title set is scrambled as a protected disc read without a
        // descrambler would be.
        QTemporaryDir copy;
        QVERIFY(copy.isValid());
        const QString folder = copy.filePath("VIDEO_TS/");
        QVERIFY(QDir().mkpath(folder));
        const QDir source(disc + "/VIDEO_TS");
        for (const QString& name : source.entryList(QDir::Files))
            QVERIFY(QFile::copy(source.filePath(name), folder + name));
        QFile vob(folder + "VTS_01_1.VOB");
        QVERIFY(vob.open(QIODevice::ReadWrite));
        QByteArray bytes = vob.readAll();
        int marked = 0;
        for (qsizetype at = 0; at + 2048 <= bytes.size(); at += 2048) {
            const QByteArray s = bytes.mid(at, 2048);
            QByteArray flagged = s;
            flagged[0x14] = char(flagged[0x14] | 0x10);
            if (ScrambleCheck::sectorIsScrambled(flagged)) {
                bytes[at + 0x14] = flagged[0x14];
                ++marked;
            }
        }
        QVERIFY(marked > 100);
        vob.seek(0);
        vob.write(bytes);
        vob.close();

        for (int title = 1; title <= 4; ++title) {
            QVERIFY(!ScrambleCheck::titleIsScrambled(disc + "/VIDEO_TS/", title));
            QCOMPARE(ScrambleCheck::titleIsScrambled(folder, title), title <= 2);
        }
        QVERIFY(!ScrambleCheck::titleIsScrambled(folder, 9));
        QVERIFY(!ScrambleCheck::titleIsScrambled(copy.filePath("nothing/"), 1));
    }
};

QTEST_GUILESS_MAIN(TestScrambleCheck)
#include "tst_previewscramble.moc"
