#include "convert/outputcheck.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

double seconds(const QJsonValue& value) {
    bool ok = false;
    const double d = value.toString().toDouble(&ok);
    return ok ? d : -1;
}

// Matroska and WebM keep a stream's length in a "DURATION" tag as hh:mm:ss.fraction.
double taggedSeconds(const QJsonObject& stream) {
    const QJsonObject tags = stream[QLatin1String("tags")].toObject();
    for (auto it = tags.begin(); it != tags.end(); ++it) {
        if (it.key().compare(QLatin1String("DURATION"), Qt::CaseInsensitive) != 0)
            continue;
        const QStringList parts = it.value().toString().split(u':');
        if (parts.size() == 3)
            return parts[0].toDouble() * 3600 + parts[1].toDouble() * 60 + parts[2].toDouble();
    }
    return -1;
}

QString figure(double s) {
    return QString::number(s, 'f', 1);
}

// "24000/1001" as a number; -1 when it is none.
double rate(const QJsonValue& value) {
    const QStringList parts = value.toString().split(u'/');
    const double denominator = parts.size() == 2 ? parts[1].toDouble() : 0;
    return denominator > 0 ? parts[0].toDouble() / denominator : -1;
}

} // namespace

OutputExpectation ExpectationFor(const QStringList& transcoderArguments, double span,
                                 const QString& outputExtension) {
    static const QStringList audioOnly = {
        QStringLiteral("mp3"), QStringLiteral("m4a"),  QStringLiteral("aac"),
        QStringLiteral("ac3"), QStringLiteral("flac"), QStringLiteral("wav"),
        QStringLiteral("ogg"), QStringLiteral("oga"),  QStringLiteral("opus"),
        QStringLiteral("wma"), QStringLiteral("mka"),  QStringLiteral("mp2")};
    const QString type =
        outputExtension.startsWith(u'.') ? outputExtension.mid(1) : outputExtension;
    OutputExpectation e;
    e.video = !transcoderArguments.contains(QLatin1String("-vn")) &&
              !audioOnly.contains(type, Qt::CaseInsensitive);
    e.audio = !transcoderArguments.contains(QLatin1String("-an"));
    e.span = span;
    return e;
}

double DurationTolerance(double span) {
    return std::max(1.0, 0.02 * span);
}

double SyncTolerance(double span) {
    return std::max(0.5, 0.002 * span);
}

QStringList ProbeArguments(const QString& path) {
    return {QStringLiteral("-v"),
            QStringLiteral("error"),
            QStringLiteral("-show_streams"),
            QStringLiteral("-show_format"),
            QStringLiteral("-show_chapters"),
            QStringLiteral("-of"),
            QStringLiteral("json"),
            path};
}

OutputVerdict JudgeOutput(const QByteArray& probeJson, const OutputExpectation& expected) {
    const QJsonObject root = QJsonDocument::fromJson(probeJson).object();
    if (!root.contains(QLatin1String("format")))
        return {false, QStringLiteral("the file cannot be read as a video or audio file")};
    const double container =
        seconds(root[QLatin1String("format")].toObject()[QLatin1String("duration")]);

    QStringList problems;
    double lengths[2] = {-1, -1}; // the picture's and the sound's, where known
    double pictureFrames = -1, pictureRate = -1;
    const auto check = [&](const QString& type, bool wanted) {
        if (!wanted)
            return;
        double longest = -1;
        bool found = false;
        for (const QJsonValue& v : root[QLatin1String("streams")].toArray()) {
            const QJsonObject s = v.toObject();
            if (s[QLatin1String("codec_type")].toString() != type)
                continue;
            // A cover picture is no video stream.
            if (s[QLatin1String("disposition")].toObject()[QLatin1String("attached_pic")].toInt())
                continue;
            found = true;
            double d = seconds(s[QLatin1String("duration")]);
            if (d < 0)
                d = taggedSeconds(s);
            if (d < 0)
                d = container;
            longest = std::max(longest, d);
            if (type == QLatin1String("video")) {
                pictureFrames = seconds(s[QLatin1String("nb_frames")]);
                pictureRate = rate(s[QLatin1String("avg_frame_rate")]);
            }
        }
        lengths[type == QLatin1String("video") ? 0 : 1] = longest;
        if (!found)
            problems << QStringLiteral("no %1 stream").arg(type);
        else if (longest < 0)
            problems << QStringLiteral("the length of the %1 is unknown").arg(type);
        else if (std::abs(longest - expected.span) > DurationTolerance(expected.span))
            problems << QStringLiteral("%1 lasts %2 s of %3 s")
                            .arg(type, figure(longest), figure(expected.span));
    };
    check(QStringLiteral("video"), expected.video);
    check(QStringLiteral("audio"), expected.audio);
    // A picture that runs off its sound, or holds more pictures than its span has room for at
    // its own rate, plays too fast or too slow, whatever the lengths.
    if (problems.isEmpty() && lengths[0] >= 0 && lengths[1] >= 0 &&
        std::abs(lengths[0] - lengths[1]) > SyncTolerance(expected.span))
        problems << QStringLiteral("the picture lasts %1 s, its sound %2 s")
                        .arg(figure(lengths[0]), figure(lengths[1]));
    if (problems.isEmpty() && pictureFrames > 0 && pictureRate > 0 &&
        pictureFrames > expected.span * pictureRate + 2)
        problems << QStringLiteral("the picture holds %1 frames, more than the %2 of %3 s at "
                                   "%4 a second")
                        .arg(qint64(pictureFrames))
                        .arg(qRound64(expected.span * pictureRate))
                        .arg(figure(expected.span), QString::number(pictureRate, 'f', 3));
    if (const qsizetype marks = root[QLatin1String("chapters")].toArray().size();
        expected.chapters >= 0 && marks != expected.chapters)
        problems << QStringLiteral("%1 of %2 chapter marks").arg(marks).arg(expected.chapters);
    return {problems.isEmpty(), problems.join(QStringLiteral(", "))};
}

QString PassFailure(const QString& tool, int exitCode, bool crashed, const QString& path,
                    const QString& fileWord) {
    if (crashed)
        return tool + QStringLiteral(" stopped unexpectedly");
    if (exitCode != 0)
        return tool + QStringLiteral(" failed with exit status %1").arg(exitCode);
    if (path.isEmpty())
        return {};
    const QFileInfo file(path);
    if (!file.exists() || file.size() == 0)
        return tool + QStringLiteral(" wrote no %1").arg(fileWord);
    return {};
}
