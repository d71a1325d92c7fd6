#include "convert/commandlines.h"

#include "core/preferences.h"
#include "core/timetext.h"

#include <QRegularExpression>
#include <QStorageInfo>

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
    if (!EndsAtTitleEnd(item))
        c.add(QStringLiteral("-endpos"))
            .add(SecondsText(end - (route.landedAt >= 0 ? route.landedAt : seekTo)));
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
    // short of its span.
    c.add(QStringLiteral("-noskip")).add(QStringLiteral("-mc")).add(QStringLiteral("0"));
    if (route.film || route.telecine)
        c.add(QStringLiteral("-ofps")).add(QStringLiteral("24000/1001"));
    if (const QString language = item.audioLanguages.value(item.audioLanguageIndex);
        !language.isEmpty()) // an unset language names no track
        c.add(QStringLiteral("-alang")).add(language);
    if (const int id = item.audioStreamIds.value(item.audioLanguageIndex, -1); id >= 0)
        c.add(QStringLiteral("-aid")).add(QString::number(id));
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

ToolCommand SeekProbeCommand(int titleNumber, const QString& discPath, double target,
                             const QString& output) {
    ToolCommand c;
    addDisc(c, titleNumber, discPath);
    c.add(QStringLiteral("-ss")).add(SecondsText(target));
    // Long enough for the decoder to see a film's pull-down pattern.
    c.add(QStringLiteral("-endpos")).add(QStringLiteral("1"));
    c.add(QStringLiteral("-ovc")).add(QStringLiteral("copy")).add(QStringLiteral("-nosound"));
    c.add(QStringLiteral("-of")).add(QStringLiteral("rawvideo"));
    // Only the demuxer's packet lines, which carry the video timestamps, and what the video
    // decoder finds of the pictures' rate.
    c.add(QStringLiteral("-msglevel")).add(QStringLiteral("all=-1:demuxer=7:decvideo=4"));
    return c.add(QStringLiteral("-o")).add(output);
}

std::optional<double> SeekLanding(const QString& probeOutput, double target) {
    static const QRegularExpression videoPts(
        QStringLiteral("d_video\\b[^\\n]*\\bpts=(\\d+\\.\\d+)"));
    std::optional<double> first;
    for (auto it = videoPts.globalMatch(probeOutput); it.hasNext();) {
        const double pts = it.next().captured(1).toDouble();
        if (!first) { // read when the title is opened, before the seek
            first = pts;
            continue;
        }
        const double landing = pts - *first;
        if (landing < target - 1)
            continue;
        if (landing > target + 5) // timestamps that do not count from the title's start
            return std::nullopt;
        return landing;
    }
    return std::nullopt;
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

ToolCommand TranscodeCommand(const QString& intermediatePath, const ToolCommand& options,
                             const QString& outputPath, const TranscodeCut& cut) {
    ToolCommand c;
    c.add(QStringLiteral("-y"));
    const bool skip = cut.skip > 0.0005;
    if (skip && !cut.pipe)
        c.add(QStringLiteral("-ss")).add(SecondsText(cut.skip));
    c.add(QStringLiteral("-i")).addQuoted(intermediatePath);
    if (skip && cut.pipe)
        c.add(QStringLiteral("-ss")).add(SecondsText(cut.skip));
    if (cut.length > 0)
        c.add(QStringLiteral("-t")).add(SecondsText(cut.length));
    c.add(options);
    c.addQuoted(outputPath);
    return c;
}
