#include "support/mediaprobe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>

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
                                                    "-show_chapters", "-of", "json", path}))
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
        const QStringList sar = s["sample_aspect_ratio"].toString().split(':');
        if (sar.size() == 2 && sar[0].toInt() > 0 && sar[1].toInt() > 0)
            stream.sampleAspect = sar[0].toDouble() / sar[1].toDouble();
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
    for (const QJsonValue& v : root["chapters"].toArray())
        media.chapters << ProbedChapter{number(v.toObject()["start_time"]),
                                        v.toObject()["tags"].toObject()["title"].toString()};
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

SeenFrame LookAtFrame(const QString& path, double at) {
    SeenFrame f;
    const ProbedMedia media = ProbeMedia(path);
    const ProbedStream* video = media.first("video");
    if (!video)
        return f;
    f.width = video->width;
    f.height = video->height;
    const QByteArray rgb =
        runTool("ffmpeg", {"-v", "error", "-ss", QString::number(at), "-i", path, "-frames:v", "1",
                           "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    if (rgb.size() < qsizetype(f.width) * f.height * 3)
        return f;
    const auto pixel = [&](int x, int y, int c) {
        return quint8(rgb[(qsizetype(y) * f.width + x) * 3 + c]);
    };
    const auto dark = [&](int x, int y) {
        return pixel(x, y, 0) < 40 && pixel(x, y, 1) < 40 && pixel(x, y, 2) < 40;
    };
    // A bar is dark all along; rows are judged at the left edge and columns in the middle
    // rows, where no subtitle is drawn.
    const auto darkRow = [&](int y) {
        for (int x = 0; x < f.width / 10; ++x)
            if (!dark(x, y))
                return false;
        return true;
    };
    const auto darkColumn = [&](int x) {
        for (int y = f.height * 2 / 5; y < f.height * 3 / 5; ++y)
            if (!dark(x, y))
                return false;
        return true;
    };
    int top = 0, bottom = f.height - 1, left = 0, right = f.width - 1;
    while (top < bottom && darkRow(top))
        ++top;
    while (bottom > top && darkRow(bottom))
        --bottom;
    while (left < right && darkColumn(left))
        ++left;
    while (right > left && darkColumn(right))
        --right;
    f.pictureWidth = right - left + 1;
    f.pictureHeight = bottom - top + 1;
    // The test pictures hold no white: near-white pixels are a drawn subtitle's letters.
    for (int y = f.height / 2; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            f.whiteBelow += pixel(x, y, 0) >= 200 && pixel(x, y, 1) >= 200 && pixel(x, y, 2) >= 200;
    return f;
}

int MatchingSourceFrame(const QString& path, const QString& source, int from, int to) {
    const SeenFrame seen = LookAtFrame(path, 0);
    int best = -1;
    double bestScore = 0;
    for (int k = std::max(0, from); k <= to && seen.pictureWidth > 0; ++k) {
        QProcess p;
        p.start("ffmpeg",
                {"-nostdin", "-i", path, "-i", source, "-lavfi",
                 QString("[0:v]trim=end_frame=1,crop=%1:%2,setsar=1,setpts=0[o];"
                         "[1:v]trim=start_frame=%3:end_frame=%4,scale=%1:%2,setsar=1,setpts=0[s];"
                         "[o][s]ssim")
                     .arg(seen.pictureWidth)
                     .arg(seen.pictureHeight)
                     .arg(k)
                     .arg(k + 1),
                 "-f", "null", "-"});
        p.waitForFinished(120000);
        const QString log = QString::fromLatin1(p.readAllStandardError());
        const qsizetype at = log.lastIndexOf("All:");
        const double score = at < 0 ? 0 : log.mid(at + 4).section(' ', 0, 0).toDouble();
        if (score > bestScore) {
            bestScore = score;
            best = k;
        }
    }
    return bestScore >= 0.9 ? best : -1;
}

int CountVideoFrames(const QString& path) {
    return QString::fromLatin1(
               runTool("ffprobe",
                       {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                        "stream=nb_read_frames", "-of", "csv=p=0", path}))
        .trimmed()
        .section(',', 0, 0) // a VOB's line ends in a comma
        .toInt();
}

QList<FrameTime> VideoFrameTimes(const QString& path) {
    QList<FrameTime> frames;
    const QString csv = QString::fromLatin1(
        runTool("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_frames",
                            "-show_entries", "frame=key_frame,pts_time", "-of", "csv=p=0", path}));
    for (const QString& line : csv.split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(',');
        if (fields.size() >= 2)
            frames << FrameTime{fields[1].toDouble(), fields[0] == "1"};
    }
    return frames;
}

FrameColour ColourOfFrame(const QString& path, int index) {
    const QByteArray yuv = runTool(
        "ffmpeg",
        {"-v", "error", "-i", path, "-vf",
         QString("select=eq(n\\,%1),crop=iw/4:ih/4,scale=1:1:flags=area,format=yuv444p").arg(index),
         "-vsync", "0", "-frames:v", "1", "-f", "rawvideo", "-"});
    if (yuv.size() < 3)
        return {};
    return {quint8(yuv[0]), quint8(yuv[1]), quint8(yuv[2])};
}

FieldCounts JudgeFields(const QString& path) {
    QProcess p;
    p.start("ffmpeg", {"-nostats", "-i", path, "-an", "-vf", "idet", "-f", "null", "-"});
    p.waitForFinished(120000);
    static const QRegularExpression multi(
        "Multi frame detection: TFF:\\s*(\\d+) BFF:\\s*(\\d+) Progressive:\\s*(\\d+)");
    const QRegularExpressionMatch m = multi.match(QString::fromLatin1(p.readAllStandardError()));
    if (!m.hasMatch())
        return {};
    return {m.captured(1).toInt() + m.captured(2).toInt(), m.captured(3).toInt()};
}

namespace {
// Start times, in the file's seconds, of runs of moments that pass a test, runs closer than
// half a second counted once.
QList<double> eventStarts(const QList<double>& times) {
    QList<double> starts;
    for (const double t : times)
        if (starts.isEmpty() || t - starts.last() > 0.5)
            starts << t;
    return starts;
}
} // namespace

QList<double> SoundOffsetsMs(const QString& path, double from, double length) {
    // Both streams through one run: apart, each would be timed from its own first moment, and
    // a sound that starts later than its picture would not show. Trimmed in the filters: an
    // MPEG-PS file's seek misses by far.
    const QString window = QString("trim=start=%1:duration=%2,").arg(from).arg(length, 0, 'f', 3);
    QProcess run;
    run.start("ffmpeg",
              {"-nostats", "-i", path, "-filter_complex",
               "[0:v:0]" + window +
                   "crop=iw/16:ih/16:0:0,signalstats,metadata=print:key=lavfi.signalstats.YAVG:"
                   "file=-[v];[0:a:0]a" +
                   window + "bandpass=f=1760:width_type=h:w=200,silencedetect=n=-30dB:d=0.2[a]",
               "-map", "[v]", "-map", "[a]", "-f", "null", "-"});
    run.waitForFinished(600000);
    QList<double> bright;
    double at = 0;
    static const QRegularExpression frameLine("pts_time:([-\\d.]+)|YAVG=([\\d.]+)");
    for (auto it = frameLine.globalMatch(QString::fromLatin1(run.readAllStandardOutput()));
         it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedLength(1))
            at = m.captured(1).toDouble();
        else if (m.captured(2).toDouble() > 128)
            bright << at;
    }
    QList<double> beeps;
    static const QRegularExpression beepStart("silence_end: ([-\\d.]+)");
    for (auto it = beepStart.globalMatch(QString::fromLatin1(run.readAllStandardError()));
         it.hasNext();)
        beeps << it.next().captured(1).toDouble();
    QList<double> offsets;
    for (const double flash : eventStarts(bright)) {
        const auto nearest = std::min_element(beeps.begin(), beeps.end(), [&](double a, double b) {
            return qAbs(a - flash) < qAbs(b - flash);
        });
        if (nearest != beeps.end() && qAbs(*nearest - flash) < 0.4)
            offsets << (*nearest - flash) * 1000;
    }
    return offsets;
}

std::optional<double> SoundOffsetMs(const QString& path, double from, double length) {
    const QList<double> offsets = SoundOffsetsMs(path, from, length);
    if (offsets.size() < 3)
        return std::nullopt;
    return std::accumulate(offsets.begin(), offsets.end(), 0.0) / offsets.size();
}
