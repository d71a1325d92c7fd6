#include "commandlines.h"

#include "timetext.h"

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

ToolCommand EncoderOptionBlock(const QList<ProfileOption>& options, EncoderMemory& memory) {
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
    ToolCommand block;
    block.add(QStringLiteral("-ovc")).add(QStringLiteral("lavc")).add(QStringLiteral("-lavcopts"));
    block.add(QStringLiteral("vcodec=mpeg4:vbitrate=") + EncoderBitRate(bitRate) +
              QStringLiteral(":mbd=2:autoaspect"));
    block.add(QStringLiteral("-oac")).add(QStringLiteral("mp3lame"));
    block.add(QStringLiteral("-lameopts")).add(QStringLiteral("vbr=2:q=5"));
    block.add(QStringLiteral("-channels")).add(QStringLiteral("2"));
    if (!sampleRate.trimmed().isEmpty()) // without a rate the option would swallow the next one
        block.add(QStringLiteral("-srate")).add(sampleRate.trimmed());
    block.add(QStringLiteral("-af")).add(QStringLiteral("volume=10:0"));
    return block;
}

QString SecondsText(double seconds) {
    return QString::number(seconds, 'f', 3);
}

ToolCommand EncodePassCommand(const EncodeItem& item, const QString& discPath,
                              const ToolCommand& optionBlock, const EncoderMemory& memory) {
    ToolCommand c;
    c.add(QStringLiteral("dvd://") + QString::number(item.titleNumber));
    c.add(QStringLiteral("-dvd-device"));
    c.add(discPath.endsWith(u'/') && discPath.size() > 1 ? discPath.chopped(1) : discPath);
    const double start = TimeTextToSeconds(item.startText);
    const double end = TimeTextToSeconds(item.endText);
    c.add(QStringLiteral("-ss")).add(SecondsText(start));
    // Told to stop at or near the end of a DVD title, the encoder never stops: at the end of
    // the title it waits for a position it cannot reach. A span that runs to the title's end
    // therefore lets the title's end stop it.
    const bool toTitleEnd =
        item.titleLengthSeconds > 0 && end >= item.titleLengthSeconds - TitleEndMarginSeconds;
    if (!toTitleEnd)
        c.add(QStringLiteral("-endpos")).add(SecondsText(end - start));
    c.add(optionBlock);
    if (item.audioLanguageIndex >= 0 && item.audioLanguageIndex < item.audioLanguages.size())
        c.add(QStringLiteral("-alang")).add(item.audioLanguages[item.audioLanguageIndex]);

    bool widthOk = false;
    const int width = memory.widthText.toInt(&widthOk);
    if (!memory.frameSize.isEmpty() && widthOk && width > 0) {
        double r = 1.3333;
        if (memory.aspect == u"16:9" || (memory.aspect != u"4:3" && item.titleAspect == u"16:9"))
            r = 1.7778;
        const long long height = RoundHalfEven(width / r);
        c.add(QStringLiteral("-vf"));
        c.add(QStringLiteral("scale=%1:%2,expand=%3")
                  .arg(memory.widthText)
                  .arg(height)
                  .arg(memory.frameSize));
    }
    if (item.subtitleIndex != 0)
        c.add(QStringLiteral("-sid")).add(QString::number(item.subtitleIndex - 1));
    else // the encoder draws the disc's default subtitle unless told not to
        c.add(QStringLiteral("-nosub"));
    return c;
}

ToolCommand EncoderOutputOption(const QString& workDir) {
    ToolCommand c;
    c.add(QStringLiteral("-o")).addQuoted(workDir + QStringLiteral("temp.avi"));
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

ToolCommand TranscoderOptions(const QList<ProfileOption>& options) {
    ToolCommand c;
    for (const ProfileOption& o : options) {
        if (o.cmd.isEmpty() || o.value.isEmpty())
            continue;
        c.addSplit(o.cmd);
        if (o.value == u"\\")
            c.addEmptyShown();
        else
            c.addSplit(o.value);
    }
    return c;
}

ToolCommand TranscodeCommand(const QString& intermediatePath, const ToolCommand& options,
                             const QString& outputPath) {
    ToolCommand c;
    c.add(QStringLiteral("-y")).add(QStringLiteral("-i")).addQuoted(intermediatePath);
    c.add(options);
    c.addQuoted(outputPath);
    return c;
}
