#include "mediaprobe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace {
QByteArray runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return p.readAllStandardOutput();
}

double number(const QJsonValue& v) {
    bool ok = false;
    const double d = v.toString().toDouble(&ok);
    return ok ? d : -1;
}
} // namespace

const ProbedStream* ProbedMedia::first(const QString& type) const {
    for (const ProbedStream& s : streams)
        if (s.type == type)
            return &s;
    return nullptr;
}

ProbedMedia ProbeMedia(const QString& path) {
    const QJsonObject root =
        QJsonDocument::fromJson(runTool("ffprobe", {"-v", "error", "-show_format", "-show_streams",
                                                    "-of", "json", path}))
            .object();
    ProbedMedia media;
    media.ok = root.contains("format");
    media.formatName = root["format"].toObject()["format_name"].toString();
    media.duration = number(root["format"].toObject()["duration"]);
    for (const QJsonValue& v : root["streams"].toArray()) {
        const QJsonObject s = v.toObject();
        ProbedStream stream;
        stream.type = s["codec_type"].toString();
        stream.codec = s["codec_name"].toString();
        stream.width = s["width"].toInt();
        stream.height = s["height"].toInt();
        stream.duration = number(s["duration"]);
        if (stream.duration < 0) // Matroska and WebM keep it in a tag
            stream.duration = [&] {
                const QString tag = s["tags"].toObject()["DURATION"].toString();
                const QStringList hms = tag.split(':');
                return hms.size() == 3
                           ? hms[0].toDouble() * 3600 + hms[1].toDouble() * 60 + hms[2].toDouble()
                           : -1.0;
            }();
        media.streams << stream;
    }
    return media;
}

double EstimatePitch(const QString& path, double from, double length) {
    const int rate = 16000;
    const QByteArray pcm = runTool("ffmpeg", {"-v", "error", "-ss", QString::number(from), "-t",
                                              QString::number(length), "-i", path, "-ac", "1",
                                              "-ar", QString::number(rate), "-f", "s16le", "-"});
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    const qsizetype count = pcm.size() / 2;
    if (count < rate / 10)
        return 0;
    int crossings = 0;
    for (qsizetype i = 1; i < count; ++i)
        if ((samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    return crossings / 2.0 / (double(count) / rate);
}
