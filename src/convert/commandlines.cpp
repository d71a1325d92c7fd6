#include "convert/commandlines.h"

#include "core/preferences.h"
#include "core/timetext.h"

#include <QRegularExpression>
#include <QStorageInfo>

#include <algorithm>
#include <cmath>

namespace {
const QString DefaultBitRate = QStringLiteral("800");
}

QString EncoderBitRate(const QString& value) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*([kKmM]?)\\s*$"));
    const QRegularExpressionMatch m = number.match(value);
    if (!m.hasMatch())
        return DefaultBitRate;
    const QString suffix = m.captured(2).toLower();
    if (suffix.isEmpty())
        return m.captured(1);
    const double kbits = m.captured(1).toDouble() * (suffix == u"m" ? 1000 : 1);
    return QString::number(RoundHalfEven(kbits));
}

ToolCommand EncoderOptionBlock(const QList<ProfileOption>& options, EncoderMemory& memory,
                               int intermediate) {
    QString bitRate;
    QString sampleRate;
    for (const ProfileOption& o : options) {
        if (o.cmd == u"-s") {
            QString size = o.value;
            size.replace(QChar(u'x'), QChar(u':'), Qt::CaseInsensitive);
            memory.frameSize = size;
            if (!size.isEmpty())
                memory.widthText = size.section(u':', 0, 0);
        } else if (o.cmd == u"-aspect") {
            memory.aspect = o.value;
        } else if (o.cmd == u"-b") {
            bitRate = o.value;
        } else if (o.cmd == u"-ar") {
            sampleRate = o.value;
        }
    }
    memory.rawVideo = intermediate == Prefs::IntermediateHigh;
    ToolCommand block;
    if (memory.rawVideo) {
        block.add(QStringLiteral("-ovc")).add(QStringLiteral("raw"));
        block.add(QStringLiteral("-oac")).add(QStringLiteral("pcm"));
    } else {
        block.add(QStringLiteral("-ovc")).add(QStringLiteral("lavc"));
        block.add(QStringLiteral("-lavcopts"))
            .add(QStringLiteral("vcodec=mpeg4:vbitrate=") + EncoderBitRate(bitRate) +
                 QStringLiteral(":mbd=2:autoaspect"));
        block.add(QStringLiteral("-oac")).add(QStringLiteral("mp3lame"));
        block.add(QStringLiteral("-lameopts")).add(QStringLiteral("vbr=2:q=5"));
    }
    block.add(QStringLiteral("-channels")).add(QStringLiteral("2"));
    memory.sampleRate = sampleRate.trimmed().toInt();
    if (!sampleRate.trimmed().isEmpty()) // without a rate the option would swallow the next one
        block.add(QStringLiteral("-srate")).add(sampleRate.trimmed());
    block.add(QStringLiteral("-af")).add(QStringLiteral("volume=10:0"));
    return block;
}

QString SecondsText(double seconds) {
    return QString::number(seconds, 'f', 3);
}

bool EndsAtTitleEnd(const EncodeItem& item) {
    const double end = TimeTextToSeconds(item.endText);
    return item.titleLengthSeconds > 0 && end >= item.titleLengthSeconds - TitleEndMarginSeconds;
}

double SeekTarget(double start, double frameRate) {
    if (start < SeekLeadSeconds)
        return 0;
    const bool ntsc = frameRate > 0 && frameRate != 25;
    return (start - SeekLeadSeconds) / (ntsc ? 1.001 : 1.0);
}

EncodedPicture EncoderPicture(const EncoderMemory& memory, const QString& titleAspect) {
    const bool wide =
        memory.aspect == u"16:9" || (memory.aspect != u"4:3" && titleAspect == u"16:9");
    const double r = wide ? 1.7778 : 1.3333;
    const QString shape = wide ? QStringLiteral("aspect=16/9") : QStringLiteral("aspect=4/3");
    const double shapeRatio = wide ? 16.0 / 9 : 4.0 / 3;
    if (!EncoderScales(memory))
        return {QString(), shape, shapeRatio};
    const int width = memory.widthText.toInt();
    bool heightOk = false;
    const int frameHeight = memory.frameSize.section(u':', 1, 1).toInt(&heightOk);
    if (!heightOk || frameHeight <= 0) // the filter as the profile asks; no frame to fit into
        return {QStringLiteral("scale=%1:%2,expand=%3")
                    .arg(memory.widthText)
                    .arg(RoundHalfEven(width / r))
                    .arg(memory.frameSize),
                shape, shapeRatio};
    QString pictureWidth = memory.widthText;
    long long pictureHeight = RoundHalfEven(width / r);
    if (pictureHeight > frameHeight) { // too tall for the frame: fit its height instead
        pictureHeight = frameHeight;
        pictureWidth = QString::number(RoundHalfEven(frameHeight * r));
    }
    return {QStringLiteral("scale=%1:%2,expand=%3")
                .arg(pictureWidth)
                .arg(pictureHeight)
                .arg(memory.frameSize),
            QStringLiteral("aspect=%1/%2").arg(width).arg(frameHeight),
            double(width) / frameHeight};
}

bool EncoderScales(const EncoderMemory& memory) {
    bool widthOk = false;
    const int width = memory.widthText.toInt(&widthOk);
    return !memory.frameSize.isEmpty() && widthOk && width > 0;
}

namespace {
ToolCommand& addDisc(ToolCommand& c, int titleNumber, const QString& discPath) {
    c.add(QStringLiteral("dvd://") + QString::number(titleNumber));
    c.add(QStringLiteral("-dvd-device"));
    return c.add(discPath.endsWith(u'/') && discPath.size() > 1 ? discPath.chopped(1) : discPath);
}

ToolCommand& addAudioTrack(ToolCommand& c, const EncodeItem& item) {
    if (const QString language = item.audioLanguages.value(item.audioLanguageIndex);
        !language.isEmpty()) // an unset language names no track
        c.add(QStringLiteral("-alang")).add(language);
    if (const int id = item.audioStreamIds.value(item.audioLanguageIndex, -1); id >= 0)
        c.add(QStringLiteral("-aid")).add(QString::number(id));
    return c;
}
} // namespace

ToolCommand EncodePassCommand(const EncodeItem& item, const QString& discPath,
                              const ToolCommand& optionBlock, const EncoderMemory& memory,
                              const EncodeRoute& route) {
    ToolCommand c;
    addDisc(c, item.titleNumber, discPath);
    const double start = TimeTextToSeconds(item.startText);
    const double end = TimeTextToSeconds(item.endText);
    const double seekTo = route.seekTo >= 0 ? route.seekTo : start;
    c.add(QStringLiteral("-ss")).add(SecondsText(seekTo));
    // Told to stop at or near the end of a DVD title, the encoder never stops: at the end of
    // the title it waits for a position it cannot reach. A span that runs to the title's end
    // therefore lets the title's end stop it (the transcoder keeps the span's length).
    // The sound the transcoder drops from the start is encoded on past the end instead.
    if (!EndsAtTitleEnd(item))
        c.add(QStringLiteral("-endpos"))
            .add(SecondsText(end - (route.landed() ? route.landedAt : seekTo) +
                             std::max(0.0, route.soundLead)));
    const EncodedPicture picture = EncoderPicture(memory, item.titleAspect);
    if (memory.rawVideo) // uncompressed pictures carry their shape in the file's header
        c.add(optionBlock)
            .add(QStringLiteral("-force-avi-aspect"))
            .add(QString::number(picture.ratio, 'f', 4));
    else
        c.add(ToolCommand(optionBlock)
                  .replace(QStringLiteral(":autoaspect"), u':' + picture.aspectTerm));
    // Every frame once: without these the encoder drops and doubles frames to follow the
    // audio, although a DVD's timestamps keep both in step; the output then judders and runs
    // short of its span. A title of film and video mixed is written at the film's rate, and
    // there the video's surplus pictures must go.
    if (!route.mixedFilm)
        c.add(QStringLiteral("-noskip"));
    c.add(QStringLiteral("-mc")).add(QStringLiteral("0"));
    // Mixed, the pictures are timed at the stream's own 29.97 throughout: the demuxer, once it
    // has seen film, would time the video parts as film and fall 120 ms behind the sound.
    if (route.mixedFilm)
        c.add(QStringLiteral("-fps")).add(QStringLiteral("30000/1001"));
    if (route.film || route.telecine)
        c.add(QStringLiteral("-ofps")).add(QStringLiteral("24000/1001"));
    addAudioTrack(c, item);
    // Uncompressed pictures go out in the one layout every reader takes.
    QStringList filters;
    if (route.telecine) // the film's own pictures out of the woven fields, each once
        filters << QStringLiteral("pullup,softskip");
    if (!picture.filter.isEmpty())
        filters << picture.filter;
    if (memory.rawVideo)
        filters << QStringLiteral("format=i420");
    if (!filters.isEmpty())
        c.add(QStringLiteral("-vf")).add(filters.join(u','));
    if (item.subtitleIndex == 0) // the encoder draws the disc's default subtitle unless told not to
        c.add(QStringLiteral("-nosub"));
    else if (!route.subtitleBase.isEmpty())
        c.add(QStringLiteral("-vobsub"))
            .add(route.subtitleBase)
            .add(QStringLiteral("-vobsubid"))
            .add(QStringLiteral("0"));
    else
        c.add(QStringLiteral("-sid")).add(QString::number(item.subtitleIndex - 1));
    return c;
}

ToolCommand SettleDeinterlacing(const ToolCommand& options, bool interlaced) {
    const QStringList in = options.arguments();
    if (!in.contains(QLatin1String(AutoDeinterlace)))
        return options;
    ToolCommand out;
    for (int i = 0; i < in.size(); ++i) {
        if (in[i] == u"-vf" && i + 1 < in.size() && in[i + 1] == QLatin1String(AutoDeinterlace)) {
            if (interlaced)
                out.add(in[i]).add(QStringLiteral("yadif"));
            ++i;
            continue;
        }
        out.add(in[i]);
    }
    return out;
}

ToolCommand SeekProbeCommand(const EncodeItem& item, const QString& discPath, double target,
                             const QString& output) {
    ToolCommand c;
    addDisc(c, item.titleNumber, discPath);
    c.add(QStringLiteral("-ss")).add(SecondsText(target));
    // Long enough for the decoder to see a film's pull-down pattern.
    c.add(QStringLiteral("-endpos")).add(QStringLiteral("1"));
    // The sound copied too, so its first packet after the seek shows; the raw output keeps
    // only the pictures.
    c.add(QStringLiteral("-ovc")).add(QStringLiteral("copy"));
    c.add(QStringLiteral("-oac")).add(QStringLiteral("copy"));
    addAudioTrack(c, item);
    c.add(QStringLiteral("-of")).add(QStringLiteral("rawvideo"));
    // Only the demuxer's packet lines, which carry the timestamps, and what the video decoder
    // finds of the pictures' rate.
    c.add(QStringLiteral("-msglevel")).add(QStringLiteral("all=-1:demuxer=7:decvideo=4"));
    return c.add(QStringLiteral("-o")).add(output);
}

std::optional<SeekLanded> SeekLanding(const QString& probeOutput, double target) {
    static const QRegularExpression packetPts(
        QStringLiteral("d_(video|audio)\\b[^\\n]*\\bpts=(\\d+\\.\\d+)"));
    std::optional<double> first;
    std::optional<double> picture;
    std::optional<double> sound;
    for (auto it = packetPts.globalMatch(probeOutput); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool video = m.captured(1) == u"video";
        const double pts = m.captured(2).toDouble();
        if (!first) {
            if (video) // read when the title is opened, before the seek
                first = pts;
            continue;
        }
        const double at = pts - *first;
        if (at < target - 1)
            continue;
        if (video && !picture) {
            if (at > target + 5) // timestamps that do not count from the title's start
                return std::nullopt;
            picture = at;
        } else if (!video && !sound) {
            sound = at;
        }
        if (picture && sound)
            break;
    }
    if (!picture)
        return std::nullopt;
    // A lead beyond any disc's buffering is a timestamp jump, not a lead.
    constexpr double plausibleLead = 2;
    const double lead = sound ? *picture - *sound : 0;
    return SeekLanded{*picture, std::abs(lead) < plausibleLead ? lead : 0};
}

double EncoderSoundDelay(const EncoderMemory& memory) {
    if (memory.rawVideo)
        return 0;
    constexpr double codedSamples = 576 + 529;
    constexpr int discRate = 48000;
    return codedSamples / (memory.sampleRate > 0 ? memory.sampleRate : discRate);
}

QList<double> FilmProbePoints(double start, double end) {
    constexpr double probedLonger = 8;
    if (end - start < probedLonger)
        return {};
    return {start + (end - start) / 4, start + (end - start) / 2, start + (end - start) * 3 / 4};
}

bool ShowsFilm(const QString& probeOutput) {
    return probeOutput.contains(QLatin1String("24000/1001fps progressive NTSC content detected"));
}

ToolCommand SubtitleDumpCommand(const EncodeItem& item, const QString& discPath,
                                const QString& base) {
    ToolCommand c;
    addDisc(c, item.titleNumber, discPath);
    if (!EndsAtTitleEnd(item))
        c.add(QStringLiteral("-endpos"))
            .add(SecondsText(TimeTextToSeconds(item.endText) + SeekLeadSeconds));
    c.add(QStringLiteral("-ovc")).add(QStringLiteral("copy")).add(QStringLiteral("-nosound"));
    c.add(QStringLiteral("-sid")).add(QString::number(item.subtitleIndex - 1));
    c.add(QStringLiteral("-vobsubout")).add(base);
    c.add(QStringLiteral("-vobsuboutindex")).add(QStringLiteral("0"));
    c.add(QStringLiteral("-of")).add(QStringLiteral("rawvideo"));
    return c.add(QStringLiteral("-o")).add(QStringLiteral("/dev/null"));
}

ToolCommand EncoderOutputOption(const QString& workDir, const QString& fileName) {
    ToolCommand c;
    c.add(QStringLiteral("-o")).addQuoted(workDir + fileName);
    return c;
}

ToolCommand DiscOpenCommand(int titleNumber, const QString& drivePart) {
    ToolCommand c;
    c.add(QStringLiteral("dvd://") + QString::number(titleNumber));
    c.add(QStringLiteral("-dvd-device")).add(drivePart);
    c.add(QStringLiteral("-o")).add(QStringLiteral("temp.avi"));
    return c;
}

QString DrivePartOf(const QString& discPath) {
    QString root = QStorageInfo(discPath).rootPath();
    if (root.isEmpty())
        root = QStringLiteral("/");
    return root.size() > 1 && root.endsWith(u'/') ? root.chopped(1) : root;
}

ToolCommand TranscoderOptions(const QList<ProfileOption>& options, bool encoderScaled) {
    ToolCommand c;
    for (const ProfileOption& o : options) {
        if (o.cmd.isEmpty() || o.value.isEmpty())
            continue;
        if (encoderScaled && o.cmd == u"-aspect")
            continue;
        c.addSplit(o.cmd);
        if (o.value == u"\\")
            c.addEmptyShown();
        else if (o.typed) // shown in quotes where it holds blanks, as a tool would need it
            o.value.contains(u' ') ? c.addQuoted(o.value) : c.add(o.value);
        else
            c.addSplit(o.value);
    }
    return c;
}

double OnFrameGrid(double seconds, double frameRate) {
    return frameRate > 0 ? std::round(seconds * frameRate) / frameRate : seconds;
}

ToolCommand WithSoundShift(const ToolCommand& options, double lead) {
    const QStringList in = options.arguments();
    constexpr double unnoticed = 0.0005;
    if (std::abs(lead) < unnoticed || in.contains(QLatin1String("-an")) ||
        in.contains(QLatin1String("-filter_complex")) || in.contains(QLatin1String("-lavfi")))
        return options;
    // Trimmed by time, the sound's own start is then taken as the output's.
    const QString shift =
        lead > 0 ? QStringLiteral("atrim=start=%1,asetpts=PTS-STARTPTS").arg(lead, 0, 'f', 4)
                 : QStringLiteral("adelay=delays=%1:all=1").arg(-lead * 1000, 0, 'f', 1);
    const qsizetype own =
        std::max(in.indexOf(QLatin1String("-af")), in.indexOf(QLatin1String("-filter:a")));
    if (own < 0 || own + 1 >= in.size())
        return ToolCommand(options).add(QStringLiteral("-af")).add(shift);
    ToolCommand out; // the shift goes before the profile's own sound filters
    for (qsizetype i = 0; i < in.size(); ++i)
        out.add(i == own + 1 ? shift + u',' + in[i] : in[i]);
    return out;
}

ToolCommand TranscodeCommand(const QString& intermediatePath, const ToolCommand& options,
                             const QString& outputPath, const TranscodeCut& cut,
                             const TranscodeMarks& marks) {
    ToolCommand c;
    c.add(QStringLiteral("-y"));
    const bool skip = cut.skip > 0.0005;
    c.add(QStringLiteral("-i")).addQuoted(intermediatePath);
    if (!marks.metadataPath.isEmpty())
        c.add(QStringLiteral("-f"))
            .add(QStringLiteral("ffmetadata"))
            .add(QStringLiteral("-i"))
            .addQuoted(marks.metadataPath);
    if (skip)
        c.add(QStringLiteral("-ss")).add(SecondsText(cut.skip));
    if (cut.length > 0)
        c.add(QStringLiteral("-t")).add(SecondsText(cut.length));
    c.add(WithSoundShift(options, cut.soundLead));
    if (!marks.metadataPath.isEmpty()) {
        c.add(QStringLiteral("-map_chapters")).add(QStringLiteral("1"));
        if (!marks.keyFrameTimes.isEmpty())
            c.add(QStringLiteral("-force_key_frames")).add(marks.keyFrameTimes);
    }
    c.addQuoted(outputPath);
    return c;
}
