#include "discloader.h"

#include "dvdstructure.h"
#include "parser.h"
#include "paths.h"
#include "tasktree.h"
#include "timetext.h"

#include <QFileInfo>

#include <algorithm>

namespace {

TTaskNode titleNode(int number) {
    TTaskNode t;
    t.IsTitle = true;
    t.Number = number;
    t.ShortName = NumberedName(QStringLiteral("Title"), number);
    t.Caption = t.ShortName;
    t.OutputName = t.ShortName;
    t.ImageIndex = 0;
    t.OrigStartText = t.StartText = SecondsToTimeText(0);
    t.OrigEndText = t.EndText = SecondsToTimeText(0);
    t.Subtitles = QStringList{QStringLiteral("None")};
    return t;
}

void setLength(TTaskNode& t, double length) {
    t.OrigEndText = t.EndText = SecondsToTimeText(length);
    t.OrigEndSeconds = t.EndSeconds = TimeTextToSeconds(t.OrigEndText);
    t.OrigStartSeconds = t.StartSeconds = 0;
    t.OrigDuration = t.OrigEndSeconds - t.OrigStartSeconds;
}

void addStreams(TTaskNode& t, const TVTS_VOBS& vobs, const TProgramChain& chain) {
    for (int k = 0; k < vobs.Audio.size(); ++k) {
        if (k >= chain.AudioAvailable.size() || chain.AudioAvailable[k] != u'1')
            continue;
        const TAudioStream& a = vobs.Audio[k];
        t.AudioTracks << a.LanguageName + u' ' + a.Coding + u' ' + QString::number(a.Channels) +
                             QStringLiteral("ch");
        t.AudioLanguages << a.LanguageCode;
        t.AudioStreamIds << AudioStreamId(a.CodingMode, chain.AudioStreamNumbers.value(k, 0xFF));
    }
    for (int k = 0; k < vobs.SubpictureLanguages.size(); ++k)
        if (k < chain.SubpictureAvailable.size() && chain.SubpictureAvailable[k] == u'1')
            t.Subtitles << vobs.SubpictureLanguages[k];
}

QList<TTaskNode> chapterNodes(const TTaskNode& title, const TProgramChain& chain) {
    QList<TTaskNode> chapters;
    chapters.reserve(chain.ProgramCount);
    const int count =
        std::min<qsizetype>({qsizetype(chain.ProgramCount), chain.ChapterStartMilliseconds.size(),
                             chain.ChapterLengthMilliseconds.size()});
    for (int j = 0; j < count; ++j) {
        TTaskNode c;
        c.IsTitle = false;
        c.Number = j + 1;
        c.ChapterIndex = j;
        c.ShortName = NumberedName(QStringLiteral("Chapter"), j + 1);
        c.Caption = c.ShortName;
        // The start as shown, in whole seconds; the end is that plus the exact length.
        const double startSeconds =
            double(RoundHalfEven(chain.ChapterStartMilliseconds[j] / 1000.0));
        const double endSeconds =
            double(RoundHalfEven(startSeconds + chain.ChapterLengthMilliseconds[j] / 1000.0));
        c.OrigStartText = c.StartText = SecondsToTimeText(startSeconds);
        c.OrigEndText = c.EndText = SecondsToTimeText(endSeconds);
        c.OrigStartSeconds = c.StartSeconds = startSeconds;
        c.OrigEndSeconds = c.EndSeconds = endSeconds;
        c.OutputName = title.ShortName + u'-' + c.ShortName;
        c.ImageIndex = 1;
        chapters.append(std::move(c));
    }
    return chapters;
}

} // namespace

QString NumberedName(const QString& word, int number) {
    QString name;
    name.reserve(word.size() + 4);
    name += word;
    if (number >= 0 && number < 10)
        name += u'0';
    name += QString::number(number);
    return name;
}

double FrameRateOf(const QString& standard) {
    return standard == QLatin1String("PAL") ? 25 : 29.97;
}

int AudioStreamId(quint8 codingMode, quint8 streamNumber) {
    if (streamNumber > 7)
        return -1;
    switch (codingMode) {
    case 0: // AC3
        return 128 + streamNumber;
    case 2: // MPEG1
    case 3: // MPEG2
        return streamNumber;
    case 4: // LPCM
        return 160 + streamNumber;
    case 6: // DTS
        return 136 + streamNumber;
    default:
        return -1;
    }
}

QString DiscFolderOf(const QString& folder) {
    QString f = WithTrailingSeparator(folder);
    if (!QFileInfo::exists(f + QStringLiteral("VIDEO_TS.IFO")))
        f += QStringLiteral("VIDEO_TS/");
    return f;
}

DiscLoadResult LoadDisc(const QString& folder, IDvdStructureReader& reader) {
    DiscLoadResult result;
    const QString f = DiscFolderOf(folder);
    result.discPath = f;

    QList<TIFO> titleSetTable;
    try {
        for (const QString& name : TitleSetFiles(f))
            titleSetTable << ReadIFO(f + name);
    } catch (const EIFOError& e) {
        result.error = e.message();
        return result;
    }

    reader.openDvd(f.chopped(1));
    const int count = reader.titleCount();
    for (int i = 0; i < count; ++i) {
        int s = -1;
        int c = -1;
        reader.indexInfo(i, s, c);
        // A title whose indexes point nowhere is listed without length, streams or chapters.
        const TIFO* ts = s >= 0 && s < titleSetTable.size() ? &titleSetTable[s] : nullptr;
        const TProgramChain* chain =
            ts && c >= 0 && c < ts->PGCI.Chains.size() ? &ts->PGCI.Chains[c] : nullptr;
        result.titles << MakeTitle(i + 1, ts, chain, reader.titleAngleCount(i));
        if (ts) {
            const bool pal = ts->VOBS.Video.Standard == QLatin1String("PAL");
            result.standard = pal ? QStringLiteral("PAL") : QStringLiteral("NTSC");
            result.frameRate = FrameRateOf(result.standard);
        }
    }
    return result;
}

LoadedTitle MakeTitle(int number, const TIFO* titleSet, const TProgramChain* chain,
                      int angleCount) {
    LoadedTitle loaded;
    TTaskNode& t = loaded.title;
    t = titleNode(number);
    if (titleSet) {
        const TVideoStream& v = titleSet->VOBS.Video;
        t.Caption = t.ShortName + QStringLiteral(" [") + v.Coding + u' ' + v.Resolution + u' ' +
                    v.Standard + u' ' + v.Aspect + u']';
        t.FrameSize = v.Resolution;
        t.FrameSize.replace(QChar(u'x'), QChar(u':'), Qt::CaseInsensitive);
        t.Aspect = v.Aspect;
        t.FrameRate = FrameRateOf(v.Standard);
    }
    if (titleSet && chain) {
        setLength(t, chain->PlaybackMilliseconds / 1000.0);
        addStreams(t, titleSet->VOBS, *chain);
        loaded.chapters = chapterNodes(t, *chain);
    }
    t.AngleCount = angleCount;
    return loaded;
}

void ApplyLoadedDisc(DiscLoadResult loaded, TTaskTree& tree, TDVDInformation& info) {
    info.DiscPath = loaded.discPath;
    info.Standard = loaded.standard;
    info.FrameRate = loaded.frameRate;
    tree.resetWith(std::move(loaded.titles));
}
