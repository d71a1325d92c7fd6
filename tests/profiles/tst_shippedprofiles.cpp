// Every shipped profile with the real transcoder: for its default choices and for every choice of
// each of its lists, the options the conversion builds are accepted by ffmpeg, and the output has
// the container, codecs and picture that the profile's captions promise.
#include "convert/commandlines.h"
#include "convert/profileoptions.h"
#include "core/paths.h"
#include "profiles/newinifile.h"
#include "profiles/profilefile.h"
#include "profiles/profilereader.h"
#include "support/testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr ParameterGroup Groups[] = {ParameterGroup::Video, ParameterGroup::Audio,
                                     ParameterGroup::Advanced};
using Choices = QMap<QString, QString>; // row key -> the caption chosen instead of the default

QString shippedFolder() {
    return qEnvironmentVariable("RIPVALE_SOURCE_DIR") + "/resources/profiles/";
}

// What the captions promise, in ffprobe's words.
const QMap<QString, QString> Codec = {{"H.264", "h264"}, {"MPEG-4", "mpeg4"}, {"Xvid", "mpeg4"},
                                      {"VP9", "vp9"},    {"VP8", "vp8"},      {"AAC", "aac"},
                                      {"MP3", "mp3"},    {"Opus", "opus"},    {"Vorbis", "vorbis"}};
const QMap<QString, QString> Container = {
    {"mp4", "mp4"}, {"mkv", "matroska"}, {"webm", "webm"}, {"avi", "avi"}, {"mp3", "mp3"}};
const QMap<QString, QString> Rate = {
    {"23.976", "24000/1001"}, {"25", "25/1"}, {"29.97", "30000/1001"}};

ProfileRows chosen(ProfileRows rows, const Choices& choices) {
    for (ParameterGroup g : Groups)
        for (ProfileParameter& row : rows.of(g))
            row.value = choices.value(row.key, row.value);
    return rows;
}

// The options the conversion builds while the grids show `rows`.
ToolCommand optionsFor(const QString& path, const ProfileRows& rows) {
    return TranscoderOptions(CurrentProfileOptions(path, [&](ParameterGroup g, const QString& k) {
        const std::optional<ProfileParameter> row = rows.find(g, k);
        return row ? std::optional(row->value) : std::nullopt;
    }));
}

// The default run, then every other choice of every list, packed into few runs; no run switches
// both picture and sound off.
QList<Choices> plannedRuns(const ProfileRows& rows) {
    QList<Choices> runs = {Choices()};
    const auto fits = [](Choices run, const QString& key, const QString& caption) {
        run[key] = caption;
        return !(run.value("Disable Video") == "Yes" && run.value("Disable Audio") == "Yes");
    };
    for (ParameterGroup g : Groups)
        for (const ProfileParameter& row : rows.of(g))
            for (const QString& caption : row.pickList) {
                if (caption == row.value)
                    continue;
                qsizetype r = 1;
                while (r < runs.size() &&
                       (runs[r].contains(row.key) || !fits(runs[r], row.key, caption)))
                    ++r;
                if (r == runs.size())
                    runs << Choices();
                runs[r][row.key] = caption;
            }
    return runs;
}

QJsonObject stream(const QJsonObject& media, const QString& type) {
    for (const QJsonValue& s : media["streams"].toArray())
        if (s["codec_type"] == type)
            return s.toObject();
    return {};
}

// The output against the captions of the rows it was made with.
QStringList check(const QString& output, const QString& type, const ProfileRows& rows) {
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-of", "json", "-show_format", "-show_streams", output});
    probe.waitForFinished(60000);
    const QJsonObject media = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
    const auto shown = [&](ParameterGroup g, const QString& key) {
        return rows.find(g, key).value_or(ProfileParameter()).value;
    };
    QStringList wrong;
    const auto expect = [&wrong](const QString& what, const QString& actual, const QString& want) {
        if (actual != want)
            wrong << what + " " + actual + " instead of " + want;
    };
    const QStringList format = media["format"]["format_name"].toString().split(',');
    expect("container", format.join(','),
           format.contains(Container[type]) ? format.join(',') : type);
    const QJsonObject video = stream(media, "video");
    expect("video", video.isEmpty() ? "none" : "present",
           shown(ParameterGroup::Video, "Disable Video") == "Yes" ? "none" : "present");
    if (!video.isEmpty()) {
        expect("video codec", video["codec_name"].toString(),
               Codec[shown(ParameterGroup::Video, "Video Codec")]);
        expect("size", QString("%1x%2").arg(video["width"].toInt()).arg(video["height"].toInt()),
               shown(ParameterGroup::Video, "Video Size"));
        const QString aspect = shown(ParameterGroup::Video, "Aspect");
        if (aspect != "Auto")
            expect("aspect", video["display_aspect_ratio"].toString(), aspect);
        const QString rate = shown(ParameterGroup::Video, "Frame Rate");
        if (rate != "Auto")
            expect("frame rate", video["avg_frame_rate"].toString(), Rate[rate]);
        if (const QString p = shown(ParameterGroup::Video, "H.264 Profile"); !p.isEmpty())
            expect("profile", video["profile"].toString().section(' ', -1), p);
    }
    const QJsonObject audio = stream(media, "audio");
    expect("audio", audio.isEmpty() ? "none" : "present",
           shown(ParameterGroup::Audio, "Disable Audio") == "Yes" ? "none" : "present");
    if (!audio.isEmpty()) {
        expect("audio codec", audio["codec_name"].toString(),
               Codec[shown(ParameterGroup::Audio, "Audio Codec")]);
        expect("sample rate", audio["sample_rate"].toString() + " Hz",
               shown(ParameterGroup::Audio, "Sample Rate"));
        expect("channels", QString::number(audio["channels"].toInt()),
               shown(ParameterGroup::Audio, "Channels") == "Mono" ? "1" : "2");
    }
    return wrong;
}

} // namespace

class TestShippedProfiles : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_input;

private slots:
    void initTestCase() {
        // Like the encoder's temp.avi: MPEG-4 picture and MP3 sound in AVI.
        m_input = m_dir.filePath("temp.avi");
        QCOMPARE(
            QProcess::execute("ffmpeg", {"-nostdin", "-v", "error", "-f", "lavfi", "-i",
                                         "testsrc=size=320x240:rate=25:duration=1", "-f", "lavfi",
                                         "-i", "sine=sample_rate=48000:duration=1", "-vcodec",
                                         "mpeg4", "-acodec", "libmp3lame", "-ac", "2", m_input}),
            0);
    }

    void recommendedProfileComesFirst() {
        const QStringList files = ListFilesWithExtension(shippedFolder(), ".apf");
        QVERIFY(files.size() >= 6);
        const ProfileRows rows = ReadProfile(StandardProfileReader(shippedFolder() + files[0]));
        QVERIFY2(files[0].contains("recommended"), qPrintable(files[0]));
        QCOMPARE(rows.type + rows.find(ParameterGroup::Video, "Video Codec")->value +
                     rows.find(ParameterGroup::Audio, "Audio Codec")->value,
                 QString("mp4H.264AAC"));
    }

    void everyChoiceConverts_data() {
        QTest::addColumn<QString>("path");
        for (const QString& file : ListFilesWithExtension(shippedFolder(), ".apf"))
            QTest::newRow(qPrintable(file)) << shippedFolder() + file;
    }
    void everyChoiceConverts() {
        QFETCH(QString, path);
        // Written for both readers: CR LF, no quotes, no "[" in values, no blanks beside "=".
        const QByteArray text = TestFiles::read(path);
        QCOMPARE(text.count("\r\n"), text.count('\n'));
        for (const QByteArray& line : text.split('\n'))
            QVERIFY2(!line.contains('"') && !line.contains(" =") && !line.contains("= ") &&
                         !line.startsWith(' ') && (line.startsWith('[') || !line.contains('[')),
                     line.constData());
        const ProfileRows rows = ReadProfile(StandardProfileReader(path));
        QCOMPARE(rows.error(), QString());
        const auto ini = TNewInifile::Create(path);
        const ProfileRows dialogRows = ReadProfile(NewIniProfileReader(*ini));
        for (ParameterGroup g : Groups)
            QCOMPARE(dialogRows.of(g), rows.of(g));

        // Two transcoder runs at a time.
        const QList<Choices> runs = plannedRuns(rows);
        for (qsizetype first = 0; first < runs.size(); first += 2) {
            QList<std::shared_ptr<QProcess>> tools;
            QStringList outputs, commands;
            for (qsizetype i = first; i < qMin(first + 2, runs.size()); ++i) {
                outputs << m_dir.filePath(QString("out%1.%2").arg(i).arg(rows.type));
                const QStringList arguments =
                    TranscodeCommand(m_input, optionsFor(path, chosen(rows, runs[i])),
                                     outputs.last())
                        .arguments();
                commands << arguments.join(' ');
                tools << std::make_shared<QProcess>();
                tools.last()->setProcessChannelMode(QProcess::MergedChannels);
                tools.last()->start("ffmpeg", QStringList{"-nostdin", "-v", "error"} + arguments);
            }
            for (qsizetype i = 0; i < tools.size(); ++i) {
                QVERIFY(tools[i]->waitForFinished(120000));
                QVERIFY2(tools[i]->exitCode() == 0,
                         qPrintable(commands[i] + "\n" + tools[i]->readAll()));
                const QStringList wrong =
                    check(outputs[i], rows.type, chosen(rows, runs[first + i]));
                QVERIFY2(wrong.isEmpty(), qPrintable(commands[i] + "\n" + wrong.join("\n")));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestShippedProfiles)
#include "tst_shippedprofiles.moc"
