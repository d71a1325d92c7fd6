#include "core/timetext.h"
#include "dvd/discloader.h"
#include "dvd/discopener.h"
#include "dvd/libdvdreadstructure.h"
#include "dvd/tasktree.h"
#include "support/testfiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Opens the sample disc the way the window does and checks every title against what the disc
// was made to hold.
class TestSampleDisc : public QObject {
    Q_OBJECT
private:
    QString m_disc;
    QJsonObject m_expect;
    TDVDInformation m_info;
    std::unique_ptr<TTaskTree> m_tree;
    std::unique_ptr<TDiscOpener> m_opener;
    QStringList m_log;

    void open(const QString& folder) {
        QSignalSpy opened(m_opener.get(), &TDiscOpener::opened);
        m_opener->OpenSourceFolder(folder);
        QVERIFY(opened.wait(10000));
    }

private slots:
    void initTestCase() {
        m_disc = qEnvironmentVariable("RIPVALE_SAMPLE_DVD");
        if (m_disc.isEmpty() || !QDir(m_disc + "/VIDEO_TS").exists())
            QSKIP("The sample disc has not been made (build the sample_dvd target).");
        m_expect =
            QJsonDocument::fromJson(TestFiles::read(qEnvironmentVariable("RIPVALE_SOURCE_DIR") +
                                                    "/tests/support/sample_disc_expect.json"))
                .object();
        QVERIFY(!m_expect.isEmpty());
    }

    void init() {
        m_log.clear();
        m_info = {};
        m_info.VolumeName = "KEEP";
        m_tree = std::make_unique<TTaskTree>([this] { return m_info.VolumeName; },
                                             [] { return QString(".mp4"); });
        m_opener = std::make_unique<TDiscOpener>(
            *m_tree, m_info, [] { return std::make_unique<LibDvdReadStructure>(); });
        TDiscOpener* o = m_opener.get();
        connect(o, &TDiscOpener::openingStarted, this, [this] { m_log << "opening"; });
        connect(o, &TDiscOpener::noticeShown, this,
                [this](const QString& t) { m_log << "hint " + t; });
        connect(o, &TDiscOpener::noticeHidden, this, [this] { m_log << "hide"; });
        connect(o, &TDiscOpener::problemFound, this,
                [this](const QString& t) { m_log << "error " + t; });
        connect(o, &TDiscOpener::nodesListed, this, [this] { m_log << "listed"; });
        m_opener->setNoticeDelay(0);
    }

    void everyTitleAsTheDiscHoldsIt() {
        open(m_disc);
        QCOMPARE(m_log, (QStringList{"opening", "hint Opening the DVD.   Please wait....", "hide",
                                     "listed"}));
        QCOMPARE(m_info.DiscPath, m_disc + "/VIDEO_TS/");
        QCOMPARE(m_info.VolumeName, QString("KEEP"));
        const QJsonArray titles = m_expect["titles"].toArray();
        QCOMPARE(m_tree->rowCount(), titles.size());
        for (int i = 0; i < titles.size(); ++i) {
            const QJsonObject e = titles[i].toObject();
            const QModelIndex ti = m_tree->index(i, 0);
            const TTaskNode& t = *m_tree->node(ti);
            const QString standard = e["standard"].toString();
            const QString caption = QString("Title%1 [MPEG2 %2x%3 %4 %5]")
                                        .arg(i + 1, 2, 10, QChar('0'))
                                        .arg(e["width"].toInt())
                                        .arg(e["height"].toInt())
                                        .arg(standard, e["aspect"].toString());
            QCOMPARE(t.Caption, caption);
            QCOMPARE(t.OrigEndText, SecondsToTimeText(e["length_s"].toDouble()));
            QCOMPARE(t.OrigEndSeconds, double(RoundHalfEven(e["length_s"].toDouble())));
            QCOMPARE(t.AngleCount, 1);
            QCOMPARE(t.Checked, i + 1 == m_expect["longest_title"].toInt());

            QStringList languages;
            for (const QJsonValue& a : e["audio"].toArray())
                languages << a.toObject()["lang"].toString();
            QCOMPARE(t.AudioLanguages, languages);
            QCOMPARE(t.AudioTracks.size(), languages.size());
            for (int k = 0; k < languages.size(); ++k)
                QVERIFY2(t.AudioTracks[k].endsWith(
                             QString(" AC3 %1ch")
                                 .arg(e["audio"].toArray()[k].toObject()["channels"].toInt())),
                         qPrintable(t.AudioTracks[k]));
            QCOMPARE(t.Subtitles.size(), 1 + e["subtitles"].toArray().size());
            QCOMPARE(t.Subtitles.front(), QString("None"));

            const QJsonArray lengths = e["chapter_lengths_s"].toArray();
            QCOMPARE(m_tree->rowCount(ti), e["chapters"].toInt());
            double start = 0;
            for (int c = 0; c < lengths.size(); ++c) {
                const TTaskNode& ch = *m_tree->node(m_tree->index(c, 0, ti));
                QCOMPARE(ch.StartText, SecondsToTimeText(start));
                QCOMPARE(ch.EndText, SecondsToTimeText(start + lengths[c].toDouble()));
                start += lengths[c].toDouble();
            }
            QVERIFY(qAbs(start - e["length_s"].toDouble()) < 0.5);
        }
        QCOMPARE(m_info.Standard, QString("PAL")); // the last title's
        QCOMPARE(m_info.FrameRate, 25.0);
    }

    void languagesAreNamed() {
        open(m_disc + "/VIDEO_TS"); // the VIDEO_TS folder itself opens it too
        QVERIFY(m_tree->rowCount() >= 3);
        const TTaskNode& first = *m_tree->node(m_tree->index(0, 0));
        QCOMPARE(first.AudioTracks, (QStringList{"English AC3 2ch", "Deutsch AC3 6ch"}));
        QCOMPARE(first.Subtitles, (QStringList{"None", "English"}));
        QCOMPARE(m_tree->node(m_tree->index(2, 0))->AudioTracks, QStringList{"French AC3 2ch"});
    }

    void laterOpenWins() {
        QSignalSpy opened(m_opener.get(), &TDiscOpener::opened);
        m_opener->setNoticeDelay(50);
        m_opener->OpenSourceFolder("/no/such/disc");
        m_opener->OpenSourceFolder(m_disc);
        QVERIFY(opened.wait(10000));
        QTest::qWait(200);
        QCOMPARE(opened.count(), 1);
        QCOMPARE(m_tree->rowCount(), m_expect["title_count"].toInt());
    }

    // Copies of the sample disc as people have them: lower case, images, damaged files with
    // their backups, parts of discs.
    void discForms_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("titles");          // listed
        QTest::addColumn<QStringList>("message"); // what the message names; empty: none
        QTest::addColumn<QString>("volume");
        const QStringList none;
        QTest::newRow("lower-case copy") << "lower" << 4 << none << "KEEP";
        QTest::newRow("disc image") << "iso" << 4 << none << "RIPTEST";
        QTest::newRow("title-set file missing, backup there") << "missing 2" << 4 << none << "KEEP";
        QTest::newRow("title-set file cut short, backup whole") << "cut 2" << 4 << none << "KEEP";
        QTest::newRow("disc table missing, backup there") << "missing 0" << 4 << none << "KEEP";
        // A disc file of 2048 to 4095 bytes once crashed the library that read it.
        QTest::newRow("disc table cut to 3000 bytes, backup whole")
            << "cut3000 0" << 4 << none << "KEEP";
        QTest::newRow("title set's first sector zeroed, backup whole")
            << "zero 1" << 4 << none << "KEEP";
        QTest::newRow("title sets without the disc's files")
            << "sets only 0" << 0
            << QStringList{"VIDEO_TS.IFO and its backup VIDEO_TS.BUP are missing"} << "KEEP";
        QTest::newRow("title set and backup both ruined")
            << "ruin 2" << 2
            << QStringList{"Titles 3, 4 cannot be listed.", "VTS_02_0.IFO", "VTS_02_0.BUP"}
            << "KEEP";
        QTest::newRow("only the disc table")
            << "table only" << 0
            << QStringList{"Only part of a DVD is in",
                           "VTS_01_0.IFO, VTS_02_0.IFO, each with its backup"}
            << "KEEP";
        QTest::newRow("disc table ruined")
            << "ruin 0" << 0 << QStringList{"holds no DVD that can be read", "VIDEO_TS.BUP"}
            << "KEEP";
    }
    void discForms() {
        QFETCH(QString, form);
        QTemporaryDir dir;
        const QString source = m_disc + "/VIDEO_TS/";
        const QString copy = dir.filePath(form == "lower" ? "video_ts/" : "VIDEO_TS/");
        QDir().mkpath(copy);
        for (const QString& name : QDir(source).entryList(QDir::Files)) {
            if (form == "table only" && !name.startsWith("VIDEO_TS"))
                continue;
            QVERIFY(QFile::copy(source + name, copy + (form == "lower" ? name.toLower() : name)));
        }
        const QString number = form.section(' ', -1);
        const QString ifo = copy + QString("VTS_%1_0.IFO").arg(number, 2, '0');
        const QString table = copy + (number == "0" ? "VIDEO_TS" : "VTS_0" + number + "_0");
        const auto cut = [](const QString& file) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(300));
        };
        if (form.startsWith("missing") || form.startsWith("sets only"))
            QVERIFY(QFile::remove(table + ".IFO"));
        if (form.startsWith("sets only"))
            QVERIFY(QFile::remove(table + ".BUP"));
        if (form.startsWith("cut "))
            cut(ifo);
        if (form.startsWith("cut3000")) {
            QFile f(table + ".IFO");
            QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(3000));
        }
        if (form.startsWith("zero")) {
            QFile f(table + ".IFO");
            QVERIFY(f.open(QIODevice::ReadWrite) && f.write(QByteArray(2048, '\0')) == 2048);
        }
        if (form.startsWith("ruin")) {
            cut(table + ".IFO");
            cut(table + ".BUP");
        }
        QString opened = dir.path();
        if (form == "iso") {
            opened = dir.filePath("Film.iso");
            QProcess make;
            make.start("genisoimage",
                       {"-quiet", "-dvd-video", "-V", "RIPTEST", "-o", opened, m_disc});
            QVERIFY(make.waitForFinished(60000) && make.exitCode() == 0);
        }
        open(opened);
        QFETCH(int, titles);
        QFETCH(QStringList, message);
        QCOMPARE(m_tree->rowCount(), titles);
        const QStringList errors = m_log.filter(QRegularExpression("^error "));
        QCOMPARE(errors.size(), message.isEmpty() ? 0 : 1);
        for (const QString& part : message)
            QVERIFY2(errors[0].contains(part), qPrintable(errors[0]));
        QTEST(m_info.VolumeName, "volume");
        if (titles == 0)
            return;
        QCOMPARE(m_info.DiscPath, form == "iso" ? opened : copy);
        // What is listed is the disc as it is, read from the backups where needed.
        const QJsonArray expected = m_expect["titles"].toArray();
        for (int i = 0; i < titles; ++i)
            QCOMPARE(m_tree->node(m_tree->index(i, 0))->OrigEndSeconds,
                     double(RoundHalfEven(expected[i].toObject()["length_s"].toDouble())));
        // The encoder reads the disc as listed: a missing or damaged file (on which its own
        // library may crash) is given to it as its backup.
        const bool damaged =
            form.startsWith("cut") || form.startsWith("zero") || form.startsWith("missing");
        QCOMPARE(ToolDiscPath(m_info) != m_info.DiscPath, damaged);
        // What a killed program's mending left behind goes with the next (no such process).
        const QString orphan = QDir::tempPath() + "/ripvale-mended-999999999-test";
        if (damaged) {
            QVERIFY(QDir().mkpath(orphan));
            open(opened);
            QVERIFY(!QDir(orphan).exists());
        }
        QProcess encoder;
        encoder.start("mencoder", {"dvd://1", "-dvd-device", ToolDiscPath(m_info), "-endpos", "0.2",
                                   "-ovc", "copy", "-nosound", "-o", "/dev/null"});
        QVERIFY(encoder.waitForFinished(60000));
        QCOMPARE(encoder.exitStatus(), QProcess::NormalExit);
        QCOMPARE(encoder.exitCode(), 0);
    }

    void folderWithoutDiscStaysEmptyQuietly() {
        open(QDir::tempPath() + "/ripvale-no-disc-here");
        QCOMPARE(m_tree->rowCount(), 0);
        QVERIFY(!m_log.contains("listed"));
        for (const QString& line : m_log)
            QVERIFY(!line.startsWith("error"));
    }
};

QTEST_GUILESS_MAIN(TestSampleDisc)
#include "tst_sampledisc.moc"
