#include "dvd/ifonames.h"
#include "dvd/ifotime.h"
#include "dvd/parser.h"
#include "support/ifobuilder.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString fileName = QStringLiteral("VTS_07_0.IFO");

quint32 seconds(int s) {
    return IfoTime(0, 0, s);
}

QList<quint32> tenSecondCells(int count) {
    return QList<quint32>(count, seconds(10));
}

// Two audio streams, one subpicture stream and two chains: 1,3 over four cells and 1 over two.
IfoBuilder sampleTitleSet() {
    IfoBuilder builder;
    builder.audio = {{0x0001, "en", 1}, {0x0005, "de", 3}};
    builder.subpictureLanguages = {"fr"};
    builder.chains = {{IfoTime(1, 2, 3, 12), {1, 3}, tenSecondCells(4), {}, {0x80, 0x00}, {0x80}},
                      {IfoTime(0, 0, 20), {1}, tenSecondCells(2), {}, {0x80, 0x80}, {0x00}}};
    return builder;
}

TProgramChain onlyChain(const QList<quint8>& programMap, const QList<quint32>& cells,
                        const QList<quint8>& categories = {}) {
    IfoBuilder builder;
    builder.chains = {{seconds(1), programMap, cells, categories, {}, {}}};
    return ParseIFO(builder.build(), fileName).PGCI.Chains.value(0);
}

// Where the built image's part-of-title table starts.
qint64 partTable(const QByteArray& image) {
    return qint64(quint8(image[IfoBuilder::PartTableSectorAt + 3])) * 2048;
}

QString failureOf(const QByteArray& image) {
    try {
        ParseIFO(image, fileName);
    } catch (const EIFOError& error) {
        return error.message();
    }
    return QStringLiteral("(no failure)");
}

} // namespace

class TestIfoParser : public QObject {
    Q_OBJECT
private slots:
    void playbackTime_data() {
        QTest::addColumn<quint32>("field");
        QTest::addColumn<QString>("result"); // the text, or a part of the failure's message
        QTest::newRow("25 fps, 12 frames") << 0x01020352u << "1:02:03.480";
        QTest::newRow("30 fps, one frame") << 0x000000C1u << "0:00:00.033";
        // NTSC counts frames at a nominal 30 a second, each lasting 1001/30000 s.
        QTest::newRow("29 frames at 30 fps") << 0x000000E9u << "0:00:00.968";
        QTest::newRow("15 frames at 30 fps, half to even") << 0x000000D5u << "0:00:00.500";
        QTest::newRow("NTSC 20 minutes are 20:01.2") << 0x002000C0u << "0:20:01.200";
        QTest::newRow("NTSC 1:02:03 and a frame") << 0x010203C1u << "1:02:06.756";
        QTest::newRow("PAL 20 minutes stay") << 0x00200040u << "0:20:00.000";
        QTest::newRow("rate code 00 counts 25") << 0x00000012u << "0:00:00.480";
        QTest::newRow("rate code 10 counts 25") << 0x00000092u << "0:00:00.480";
        QTest::newRow("zero") << 0u << "0:00:00.000";
        QTest::newRow("last of the day") << 0x23595964u << "23:59:59.960";
        QTest::newRow("75 minutes carry") << 0x00750000u << "1:15:00.000";
        QTest::newRow("hours 0x1A") << 0x1A000000u << "the hours hold 0x1A";
        QTest::newRow("minutes 0xA0") << 0x00A00000u << "the minutes hold 0xA0";
        QTest::newRow("seconds 0x0F") << 0x00000F00u << "the seconds hold 0x0F";
        QTest::newRow("frames 0x0B") << 0x0000004Bu << "the frames hold 0x0B";
        QTest::newRow("24 hours") << 0x24000000u << "24 hours or more";
    }
    void playbackTime() {
        QFETCH(quint32, field);
        QFETCH(QString, result);
        try {
            QCOMPARE(PlaybackTimeText(DecodePlaybackTime(field).Milliseconds), result);
        } catch (const EIFOError& error) {
            QVERIFY2(error.message().contains(result), qPrintable(error.message()));
        }
    }

    void languageName_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("two blanks") << "  "
                                    << "Not Specified";
        QTest::newRow("en") << "en"
                            << "English";
        QTest::newRow("upper case") << "EN"
                                    << "???";
        QTest::newRow("two zero bytes") << QString(2, QChar(0)) << "???";
        QTest::newRow("first") << "aa"
                               << "Afar";
        QTest::newRow("last") << "zu"
                              << "Zulu";
        QTest::newRow("old code in") << "in"
                                     << "Indonesian";
        QTest::newRow("old code iw") << "iw"
                                     << "Hebrew";
        QTest::newRow("semicolon") << "bn"
                                   << "Bengali; Bangla";
        QTest::newRow("empty") << ""
                               << "???";
        QTest::newRow("three letters") << "eng"
                                       << "???";
    }
    void languageName() {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QCOMPARE(LanguageName(code), name);
    }

    void video_data() {
        QTest::addColumn<quint16>("attributes");
        QTest::addColumn<QStringList>("expected"); // coding, standard, aspect, resolution
        QTest::newRow("MPEG2 NTSC 16:9")
            << quint16(0x4C00) << QStringList{"MPEG2", "NTSC", "16:9", "720x480"};
        QTest::newRow("other bits ignored")
            << quint16(0x4FF3) << QStringList{"MPEG2", "NTSC", "16:9", "720x480"};
        QTest::newRow("NTSC size 1")
            << quint16(0x4004) << QStringList{"MPEG2", "NTSC", "4:3", "704x480"};
        QTest::newRow("MPEG1 PAL size 3")
            << quint16(0x100C) << QStringList{"MPEG1", "PAL", "4:3", "352x288"};
        QTest::newRow("PAL size 2")
            << quint16(0x5008) << QStringList{"MPEG2", "PAL", "4:3", "352x576"};
        QTest::newRow("standard 2") << quint16(0x6000) << QStringList{"MPEG2", "???", "4:3", ""};
        QTest::newRow("standard 3") << quint16(0x700C) << QStringList{"MPEG2", "???", "4:3", ""};
        QTest::newRow("aspect 1") << quint16(0x4400)
                                  << QStringList{"MPEG2", "NTSC", "???", "720x480"};
        QTest::newRow("coding 2") << quint16(0x8000)
                                  << QStringList{"???", "NTSC", "4:3", "720x480"};
    }
    void video() {
        QFETCH(quint16, attributes);
        QFETCH(QStringList, expected);
        IfoBuilder builder;
        builder.videoAttributes = attributes;
        const TVideoStream video = ParseIFO(builder.build(), fileName).VOBS.Video;
        QCOMPARE((QStringList{video.Coding, video.Standard, video.Aspect, video.Resolution}),
                 expected);
    }

    void audio_data() {
        QTest::addColumn<quint16>("attributes");
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<int>("codeExtension");
        QTest::addColumn<QString>("coding");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("extension");
        QTest::newRow("AC3 2ch") << quint16(0x0001) << QByteArray("en") << 0 << "AC3" << 2
                                 << "English"
                                 << "unspecified";
        QTest::newRow("channel bits 101")
            << quint16(0x0005) << QByteArray("de") << 1 << "AC3" << 6 << "Deutsch"
            << "normal";
        QTest::newRow("one channel")
            << quint16(0x0000) << QByteArray("  ") << 2 << "AC3" << 1 << "Not Specified"
            << "for visually impaired";
        QTest::newRow("eight channels")
            << quint16(0x0007) << QByteArray("fr") << 3 << "AC3" << 8 << "French"
            << "director's comments";
        QTest::newRow("other bits ignored")
            << quint16(0x1FFD) << QByteArray("fr") << 4 << "AC3" << 6 << "French"
            << "alternate director's comments";
        QTest::newRow("coding 1") << quint16(0x2000) << QByteArray("EN") << 5 << "???" << 1 << "???"
                                  << "???";
        QTest::newRow("MPEG1") << quint16(0x4000) << QByteArray("ja") << 0 << "MPEG1" << 1
                               << "Japanese"
                               << "unspecified";
        QTest::newRow("LPCM") << quint16(0x8001) << QByteArray("es") << 0 << "LPCM" << 2
                              << "Espanol"
                              << "unspecified";
        QTest::newRow("DTS") << quint16(0xC005) << QByteArray("nl") << 255 << "DTS" << 6
                             << "Nederlands"
                             << "???";
        QTest::newRow("coding 7") << quint16(0xE000) << QByteArray("\0\0", 2) << 0 << "???" << 1
                                  << "???"
                                  << "unspecified";
    }
    void audio() {
        QFETCH(quint16, attributes);
        QFETCH(QByteArray, language);
        QFETCH(int, codeExtension);
        IfoBuilder builder;
        builder.audio = {{0, "en", 0}, {attributes, language, quint8(codeExtension)}};
        const TVTS_VOBS vobs = ParseIFO(builder.build(), fileName).VOBS;
        QCOMPARE(vobs.AudioCount, 2);
        const TAudioStream stream = vobs.Audio.value(1);
        QTEST(stream.Coding, "coding");
        QTEST(int(stream.Channels), "channels");
        QCOMPARE(stream.LanguageCode, QString::fromLatin1(language));
        QTEST(stream.LanguageName, "name");
        QTEST(stream.CodeExtension, "extension");
    }

    void subpictureLanguages() {
        IfoBuilder builder;
        builder.subpictureLanguages = {"  ", "sv", "xx", "de"};
        const TVTS_VOBS vobs = ParseIFO(builder.build(), fileName).VOBS;
        QCOMPARE(vobs.SubpictureCount, 4);
        QCOMPARE(vobs.SubpictureLanguages,
                 (QStringList{"Not Specified", "Svenska", "???", "Deutsch"}));
    }

    void availability_data() {
        QTest::addColumn<int>("audioStreams");
        QTest::addColumn<int>("subpictureStreams");
        QTest::addColumn<QList<quint8>>("audioControl");
        QTest::addColumn<QList<quint8>>("subpictureControl");
        QTest::addColumn<QString>("audio");
        QTest::addColumn<QString>("subpictures");
        QTest::newRow("no streams") << 0 << 0 << QList<quint8>{} << QList<quint8>{} << ""
                                    << "";
        QTest::newRow("top bit only")
            << 3 << 2 << QList<quint8>{0x80, 0x7F, 0xFF} << QList<quint8>{0x01, 0x81} << "101"
            << "01";
        QTest::newRow("all eight and 32")
            << 8 << 32 << QList<quint8>(8, 0x80) << QList<quint8>(32, 0x80) << "11111111"
            << QString(32, u'1');
        QTest::newRow("absent when unset") << 2 << 1 << QList<quint8>{} << QList<quint8>{} << "00"
                                           << "0";
    }
    void availability() {
        QFETCH(int, audioStreams);
        QFETCH(int, subpictureStreams);
        IfoBuilder builder;
        builder.audio = QList<IfoAudioEntry>(audioStreams);
        builder.subpictureLanguages = QList<QByteArray>(subpictureStreams, "en");
        IfoChainEntry chain;
        QFETCH(QList<quint8>, audioControl);
        QFETCH(QList<quint8>, subpictureControl);
        chain.audioControl = audioControl;
        chain.subpictureControl = subpictureControl;
        builder.chains = {chain};
        const TProgramChain pgc = ParseIFO(builder.build(), fileName).PGCI.Chains.value(0);
        QTEST(pgc.AudioAvailable, "audio");
        QTEST(pgc.SubpictureAvailable, "subpictures");
    }

    void chapters_data() {
        QTest::addColumn<QList<quint8>>("programMap");
        QTest::addColumn<QList<quint32>>("cells");
        QTest::addColumn<QList<quint8>>("categories"); // each cell's block bits
        QTest::addColumn<QStringList>("lengths");
        QTest::addColumn<QStringList>("starts");
        QTest::newRow("map 1,3 over four 10 s cells")
            << QList<quint8>{1, 3} << tenSecondCells(4) << QList<quint8>{}
            << QStringList{"0:00:20.000", "0:00:20.000"}
            << QStringList{"0:00:00.000", "0:00:20.000"};
        QTest::newRow("last cell before first takes none")
            << QList<quint8>{1, 3, 3}
            << QList<quint32>{seconds(10), seconds(20), seconds(30), seconds(40)} << QList<quint8>{}
            << QStringList{"0:00:30.000", "0:00:00.000", "0:01:10.000"}
            << QStringList{"0:00:00.000", "0:00:30.000", "0:00:30.000"};
        QTest::newRow("empty first chapter")
            << QList<quint8>{2, 1} << QList<quint32>{seconds(10), seconds(20), seconds(30)}
            << QList<quint8>{} << QStringList{"0:00:00.000", "0:01:00.000"}
            << QStringList{"0:00:00.000", "0:00:00.000"};
        QTest::newRow("cells taken from the table's first entry")
            << QList<quint8>{2} << QList<quint32>{seconds(10), seconds(20), seconds(30)}
            << QList<quint8>{} << QStringList{"0:00:30.000"} << QStringList{"0:00:00.000"};
        QTest::newRow("NTSC frames added before rounding")
            << QList<quint8>{1} << QList<quint32>(3, IfoTime(0, 0, 0, 1, 3)) << QList<quint8>{}
            << QStringList{"0:00:00.100"} << QStringList{"0:00:00.000"};
        // 21 chapters of one nominal minute: the last starts at 20:01.2, not 20:00.
        QTest::newRow("NTSC chapters in real seconds")
            << QList<quint8>{1, 11, 21} << QList<quint32>(21, IfoTime(0, 1, 0, 0, 3))
            << QList<quint8>{} << QStringList{"0:10:00.600", "0:10:00.600", "0:01:00.060"}
            << QStringList{"0:00:00.000", "0:10:00.600", "0:20:01.200"};
        // Three cameras' cells of one stretch count once.
        QTest::newRow("angle block counts once")
            << QList<quint8>{1, 2, 5} << tenSecondCells(5)
            << QList<quint8>{0x00, 0x50, 0x90, 0xD0, 0x00}
            << QStringList{"0:00:10.000", "0:00:10.000", "0:00:10.000"}
            << QStringList{"0:00:00.000", "0:00:10.000", "0:00:20.000"};
        QTest::newRow("a block that is no angle block counts whole")
            << QList<quint8>{1} << tenSecondCells(3) << QList<quint8>{0x40, 0x80, 0xC0}
            << QStringList{"0:00:30.000"} << QStringList{"0:00:00.000"};
        QTest::newRow("starts carry into the hour")
            << QList<quint8>{1, 2, 3}
            << QList<quint32>{IfoTime(0, 59, 59, 12), seconds(1), seconds(1)} << QList<quint8>{}
            << QStringList{"0:59:59.480", "0:00:01.000", "0:00:01.000"}
            << QStringList{"0:00:00.000", "0:59:59.480", "1:00:00.480"};
        QTest::newRow("a cell's frames may pass a second")
            << QList<quint8>{1} << QList<quint32>{IfoTime(0, 0, 0, 39)} << QList<quint8>{}
            << QStringList{"0:00:01.560"} << QStringList{"0:00:00.000"};
        QTest::newRow("no chapters") << QList<quint8>{} << tenSecondCells(2) << QList<quint8>{}
                                     << QStringList{} << QStringList{};
    }
    void chapters() {
        QFETCH(QList<quint8>, programMap);
        QFETCH(QList<quint32>, cells);
        QFETCH(QList<quint8>, categories);
        const TProgramChain pgc = onlyChain(programMap, cells, categories);
        QCOMPARE(pgc.ProgramCount, programMap.size());
        QCOMPARE(pgc.CellCount, cells.size());
        QCOMPARE(pgc.ProgramMap, programMap);
        QTEST(pgc.ChapterLengths, "lengths");
        QTEST(pgc.ChapterStarts, "starts");
    }

    void wholeTitleSet() {
        const TIFO ifo = ParseIFO(sampleTitleSet().build(), fileName);
        QCOMPARE(ifo.VOBS.AudioCount, 2);
        QCOMPARE(ifo.VOBS.SubpictureLanguages, QStringList{"French"});
        QCOMPARE(ifo.PGCI.Count, 2);
        QCOMPARE(ifo.PGCI.Chains.size(), 2);
        QCOMPARE(ifo.TitleChains, (QList<int>{0, 1}));
        const TProgramChain& first = ifo.PGCI.Chains[0];
        QCOMPARE(first.PlaybackTime, "1:02:03.480");
        QCOMPARE(first.AudioAvailable, "10");
        QCOMPARE(first.SubpictureAvailable, "1");
        QCOMPARE(first.ChapterStarts, (QStringList{"0:00:00.000", "0:00:20.000"}));
        const TProgramChain& second = ifo.PGCI.Chains[1];
        QCOMPARE(second.PlaybackTime, "0:00:20.000");
        QCOMPARE(second.AudioAvailable, "11");
        QCOMPARE(second.SubpictureAvailable, "0");
        QCOMPARE(second.ChapterLengths, QStringList{"0:00:20.000"});
    }

    void malformed_data();
    void malformed() {
        QFETCH(QByteArray, image);
        QFETCH(QString, problem);
        const QString message = failureOf(image);
        QVERIFY2(message.startsWith(
                     QStringLiteral("Cannot read the DVD information file \"%1\": ").arg(fileName)),
                 qPrintable(message));
        QVERIFY2(message.contains(problem), qPrintable(message));
    }

    void readsFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        TestFiles::write(path, sampleTitleSet().build());
        const TIFO ifo = ReadIFO(path);
        QCOMPARE(ifo.PGCI.Chains.value(1).ChapterLengths, QStringList{"0:00:20.000"});
        QCOMPARE(ifo.VOBS.Audio.value(1).Channels, 6);
    }

    void fileFailures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size"); // -1: no file, -2: a folder
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing") << "VTS_01_0.IFO" << qint64(-1) << "cannot be opened";
        QTest::newRow("folder") << "VTS_02_0.IFO" << qint64(-2) << "cannot be opened";
        QTest::newRow("over 16 MiB")
            << "VTS_03_0.IFO" << MaxIFOFileSize + 1 << "larger than 16 MiB";
        QTest::newRow("empty") << "VTS_04_0.IFO" << qint64(0) << "the file has 0 bytes";
    }
    void fileFailures() {
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (size == -2)
            QVERIFY(QDir().mkpath(path));
        if (size >= 0) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
        }
        try {
            ReadIFO(path);
            QFAIL("ReadIFO did not fail");
        } catch (const EIFOError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("\"%1\"").arg(path)),
                     qPrintable(error.message()));
            QFETCH(QString, problem);
            QVERIFY2(error.message().contains(problem), qPrintable(error.message()));
        }
    }
};

void TestIfoParser::malformed_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("problem");
    const IfoBuilder sample = sampleTitleSet();
    const qint64 chain1 = sample.chainAt(0);
    const qint64 chain2 = sample.chainAt(1);
    const auto spoiled = [&](const char* name, const QString& problem, auto spoil) {
        QByteArray image = sample.build();
        spoil(image);
        QTest::newRow(name) << image << problem;
    };
    const auto changed = [&](const char* name, const QString& problem, auto change) {
        IfoBuilder builder = sample;
        change(builder);
        QTest::newRow(name) << builder.build() << problem;
    };
    const QString tooFew = QStringLiteral(" bytes, too few for ");
    const QString pastTable = QStringLiteral("run past the table's");

    spoiled("empty", "the file has 0" + tooFew + "the identifier (12 bytes at byte 0)",
            [](QByteArray& i) { i.clear(); });
    spoiled("first sector zeroed",
            "it does not begin with \"DVDVIDEO-VTS\", so it is no title-set information file",
            [](QByteArray& i) { i.replace(0, 2048, QByteArray(2048, '\0')); });
    spoiled("the disc's own file", "does not begin with \"DVDVIDEO-VTS\"",
            [](QByteArray& i) { i.replace(0, 12, "DVDVIDEO-VMG"); });
    spoiled("cut in the audio entries",
            "audio stream 2: the file has 527" + tooFew +
                "the audio stream entry (8 bytes at "
                "byte 524)",
            [](QByteArray& i) { i.truncate(0x204 + 8 + 3); });
    spoiled("cut in the subpicture entries", tooFew + "the entry of subpicture stream 1",
            [](QByteArray& i) { i.truncate(0x256 + 4); });
    spoiled("cut to one sector", "the file has 2048" + tooFew + "the program chain table",
            [](QByteArray& i) { i.truncate(2048); });
    spoiled("shorter than its header says",
            "it is cut short: its header gives it 3 sectors (6144 bytes), but it has 4120 bytes",
            [](QByteArray& i) { PutU32(i, 0x1C, 2); });
    spoiled("nine audio streams", "the title set claims 9 audio streams; it can have at most 8",
            [](QByteArray& i) { PutU16(i, IfoBuilder::AudioCountAt, 9); });
    spoiled("65535 audio streams", "claims 65535 audio streams",
            [](QByteArray& i) { PutU16(i, IfoBuilder::AudioCountAt, 0xFFFF); });
    spoiled("33 subpicture streams", "claims 33 subpicture streams; it can have at most 32",
            [](QByteArray& i) { PutU16(i, IfoBuilder::SubpictureCountAt, 33); });
    spoiled("subpicture count in the high byte", "claims 257 subpicture streams",
            [](QByteArray& i) { PutU16(i, IfoBuilder::SubpictureCountAt, 0x0101); });
    spoiled("chain table past the end", tooFew + "the program chain table (2 bytes at byte 204800)",
            [](QByteArray& i) { PutU32(i, IfoBuilder::ChainTableSectorAt, 100); });
    spoiled("chain table on sector 0", "the program chain table is missing (its sector is 0)",
            [](QByteArray& i) { PutU32(i, IfoBuilder::ChainTableSectorAt, 0); });
    // 0x200001 sectors lie at 0x100000800 bytes, which 32-bit arithmetic would take for 0x800.
    spoiled("chain table sector wrapping 32 bits", "(2 bytes at byte 4294969344)",
            [](QByteArray& i) { PutU32(i, IfoBuilder::ChainTableSectorAt, 0x200001); });
    spoiled("highest chain table sector", "(2 bytes at byte 8796093020160)",
            [](QByteArray& i) { PutU32(i, IfoBuilder::ChainTableSectorAt, 0xFFFFFFFF); });
    spoiled("chain table longer than the file", tooFew + "the program chain table (65536 bytes",
            [](QByteArray& i) { PutU32(i, IfoBuilder::ChainTableAt + 4, 0xFFFF); });
    spoiled("chain table shorter than its header",
            "the program chain table says it ends at byte 3, inside its own 8-byte header",
            [](QByteArray& i) { PutU32(i, IfoBuilder::ChainTableAt + 4, 3); });
    spoiled("more chains than the table holds",
            "the table of 60000 program chains (480000 bytes at byte 8 of the program chain "
            "table) " +
                pastTable,
            [](QByteArray& i) { PutU16(i, IfoBuilder::ChainTableAt, 60000); });
    spoiled("chain past the table",
            "program chain 2: the chain (236 bytes at byte 1048576 of the program chain table) " +
                pastTable,
            [&](QByteArray& i) { PutU32(i, sample.chainEntryAt(1) + 4, 0x100000); });
    // 2048 + 0xFFFFF900 wraps to 256 in 32 bits, a place inside the file.
    spoiled("chain offset wrapping 32 bits", "(236 bytes at byte 4294965504 of the program chain",
            [&](QByteArray& i) { PutU32(i, sample.chainEntryAt(1) + 4, 0xFFFFF900); });
    spoiled("program map past the end", "program chain 2: the file has", [&](QByteArray& i) {
        PutU16(i, chain2 + IfoBuilder::ProgramMapOffsetInChain, 0xFFF0);
    });
    spoiled("more chapters than the map holds",
            "program chain 2: chapter 2 starts at cell 0, but the chain's cells are numbered 1 "
            "to 2",
            [&](QByteArray& i) { PutU8(i, chain2 + 2, 255); });
    spoiled(
        "no program map",
        "program chain 1: the program map offset (0) does not point past the chain's own 236 bytes",
        [&](QByteArray& i) { PutU16(i, chain1 + IfoBuilder::ProgramMapOffsetInChain, 0); });
    spoiled("cell table inside the chain's fields",
            "program chain 1: the cell playback table offset (16)",
            [&](QByteArray& i) { PutU16(i, chain1 + IfoBuilder::CellTableOffsetInChain, 16); });
    spoiled("cell table past the end", "program chain 2: the playing time of cell 1: the file has",
            [&](QByteArray& i) { PutU16(i, chain2 + IfoBuilder::CellTableOffsetInChain, 0xFFF0); });
    spoiled("chain table zeroed", "the program chain table says it ends at byte 0",
            [](QByteArray& i) { i.replace(IfoBuilder::ChainTableAt, 8, QByteArray(8, '\0')); });
    spoiled("no chains", "title 1 of the set starts in program chain 1, but the set has 0",
            [](QByteArray& i) { PutU16(i, IfoBuilder::ChainTableAt, 0); });
    spoiled("part-of-title table missing", "the part-of-title table is missing (its sector is 0)",
            [](QByteArray& i) { PutU32(i, IfoBuilder::PartTableSectorAt, 0); });
    spoiled("part-of-title table claims 100 titles", "the part-of-title table lists 100 titles",
            [&](QByteArray& i) { PutU16(i, partTable(i), 100); });
    spoiled("a title in a chain the set lacks",
            "title 2 of the set starts in program chain 3, but the set has 2",
            [&](QByteArray& i) { PutU16(i, partTable(i) + 8 + 8 + 4, 3); });
    spoiled("a title's chapters past the table",
            "the chapters of title 1 of the set (4 bytes at byte 4096 of the part-of-title "
            "table) " +
                pastTable,
            [&](QByteArray& i) { PutU32(i, partTable(i) + 8, 4096); });
    spoiled("chapters but no cells", "program chain 2: the chain has chapters but no cells",
            [&](QByteArray& i) { PutU8(i, chain2 + 3, 0); });
    spoiled(
        "map names cell 0",
        "program chain 1: chapter 2 starts at cell 0, but the chain's cells are numbered 1 to 4",
        [&](QByteArray& i) { PutU8(i, chain1 + IfoBuilder::ChainFixedSize + 1, 0); });
    spoiled("map names a cell past the last", "program chain 1: chapter 2 starts at cell 5",
            [&](QByteArray& i) { PutU8(i, chain1 + IfoBuilder::ChainFixedSize + 1, 5); });
    changed("chapters take more cells than there are",
            "program chain 1: chapters 1 to 3 take 5 cells, but the chain has only 4",
            [](IfoBuilder& b) {
                b.chains[0].programMap = {1, 3, 2};
            });
    changed("bad digit in the chain's time",
            "program chain 1: the chain's playing time: the hours hold 0x1A, which is not a "
            "two-digit decimal number",
            [](IfoBuilder& b) { b.chains[0].playbackTime = 0x1A000000; });
    changed("bad digit in a cell's time",
            "program chain 1: the playing time of cell 2: the seconds hold 0x5A",
            [](IfoBuilder& b) { b.chains[0].cellTimes[1] = 0x00005A40; });
    changed("39 frames at 25 fps in the chain's time",
            "program chain 1: the frames of the chain's playing time make 1560 ms, a whole second "
            "or more",
            [](IfoBuilder& b) { b.chains[0].playbackTime = IfoTime(0, 0, 1, 39); });
    changed("30 frames at 30 fps in the chain's time", "make 1001 ms",
            [](IfoBuilder& b) { b.chains[0].playbackTime = IfoTime(0, 0, 1, 30, 3); });
    changed("chain time of 24 hours",
            "program chain 1: the chain's playing time: the time is negative or 24 hours or more "
            "(86400000 ms)",
            [](IfoBuilder& b) { b.chains[0].playbackTime = IfoTime(24, 0, 0); });
    changed("chapter of 24 hours",
            "program chain 2: the length of chapter 1: the time is negative or 24 hours",
            [](IfoBuilder& b) {
                b.chains[1].cellTimes = {IfoTime(23, 0, 0), IfoTime(1, 0, 0)};
            });
    changed("chapter starting at 24 hours", "program chain 2: the start of chapter 3: the time",
            [](IfoBuilder& b) {
                b.chains[1].programMap = {1, 2, 3};
                b.chains[1].cellTimes = {IfoTime(12, 0, 0), IfoTime(12, 0, 0), IfoTime(0, 0, 1)};
            });
}

QTEST_APPLESS_MAIN(TestIfoParser)
#include "tst_ifoparser.moc"
