#include "dvd/discloader.h"

#include "core/paths.h"
#include "core/timetext.h"
#include "dvd/dvdstructure.h"
#include "dvd/parser.h"
#include "dvd/tasktree.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <optional>

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

QString DiscFolderOf(const QString& location) {
    if (IsDiscImage(location))
        return QFileInfo(location).absoluteFilePath();
    const QString f = WithTrailingSeparator(location);
    if (!EntryIgnoringCase(f, QStringLiteral("VIDEO_TS.IFO")).isEmpty() ||
        !EntryIgnoringCase(f, QStringLiteral("VIDEO_TS.BUP")).isEmpty())
        return f;
    const QString folder = EntryIgnoringCase(f, QStringLiteral("VIDEO_TS"));
    return f + (folder.isEmpty() ? QStringLiteral("VIDEO_TS") : folder) + u'/';
}

QString VolumeFileOf(const QString& discPath) {
    if (discPath.isEmpty())
        return QStringLiteral("VIDEO_TS.IFO"); // no disc: the name alone, as the notice shows it
    if (!discPath.endsWith(u'/'))
        return discPath; // an image
    const QString name = EntryIgnoringCase(discPath, QStringLiteral("VIDEO_TS.IFO"));
    return discPath + (name.isEmpty() ? QStringLiteral("VIDEO_TS.IFO") : name);
}

namespace {

// A title set's file as the user finds it: in the folder under its real name, or in the image.
QString shownFileName(const QString& discPath, const QString& name) {
    if (!discPath.endsWith(u'/'))
        return discPath + QStringLiteral(" (VIDEO_TS/") + name + u')';
    const QString real = EntryIgnoringCase(discPath, name);
    return discPath + (real.isEmpty() ? name : real);
}

// The title set from its information file, or from the backup when the file is missing or
// damaged; none, with what went wrong with both, when neither can be read.
std::optional<TIFO> readTitleSet(IDvdStructureReader& reader, const QString& discPath, int number,
                                 QString& problem) {
    QStringList problems;
    for (const bool backup : {false, true}) {
        const QString name = QStringLiteral("VTS_%1_0.%2")
                                 .arg(number, 2, 10, QLatin1Char('0'))
                                 .arg(backup ? QStringLiteral("BUP") : QStringLiteral("IFO"));
        const QString shown = shownFileName(discPath, name);
        const std::optional<QByteArray> bytes = reader.infoFile(number, backup);
        if (!bytes) {
            problems << IFOFailure(shown, QStringLiteral("it is missing or cannot be read"));
            continue;
        }
        try {
            return ParseIFO(*bytes, shown);
        } catch (const EIFOError& e) {
            problems << e.message();
        }
    }
    problem = problems.join(u' ');
    return std::nullopt;
}

QString numberList(const QList<int>& numbers) {
    QStringList texts;
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QStringLiteral(", "));
}

} // namespace

DiscLoadResult LoadDisc(const QString& location, IDvdStructureReader& reader) {
    DiscLoadResult result;
    const QString f = DiscFolderOf(location);
    result.discPath = f;
    reader.openDvd(f.endsWith(u'/') ? f.chopped(1) : f);
    result.volumeLabel = reader.volumeLabel();
    const int count = reader.titleCount();
    // A folder without any disc file stays empty without a word, as the drive dialog has
    // already checked; a disc whose table cannot be read says so.
    const bool discFiles = !f.endsWith(u'/') || QFileInfo::exists(VolumeFileOf(f)) ||
                           !EntryIgnoringCase(f, QStringLiteral("VIDEO_TS.BUP")).isEmpty();
    if (count == 0 && !discFiles)
        return result;
    if (count == 0) {
        result.error =
            QStringLiteral("\"%1\" holds no DVD that can be read: neither VIDEO_TS.IFO nor its "
                           "backup VIDEO_TS.BUP gives the disc's titles.")
                .arg(QDir::toNativeSeparators(f));
        return result;
    }

    std::map<int, std::optional<TIFO>> titleSets; // by number; none when unreadable
    std::map<int, QString> problems;
    std::map<int, QList<int>> leftOut; // titles of unreadable title sets
    for (int i = 0; i < count; ++i) {
        int s = -1;
        int c = -1;
        reader.indexInfo(i, s, c);
        if (s >= 1 && !titleSets.count(s))
            titleSets[s] = readTitleSet(reader, f, s, problems[s]);
        if (s >= 1 && !titleSets[s]) {
            leftOut[s] << i + 1;
            continue;
        }
        // A title whose chain is unknown is listed without length, streams or chapters.
        const TIFO* ts = s >= 1 ? &*titleSets[s] : nullptr;
        const TProgramChain* chain =
            ts && c >= 0 && c < ts->PGCI.Chains.size() ? &ts->PGCI.Chains[c] : nullptr;
        result.titles << MakeTitle(i + 1, ts, chain, reader.titleAngleCount(i));
        if (ts) {
            const bool pal = ts->VOBS.Video.Standard == QLatin1String("PAL");
            result.standard = pal ? QStringLiteral("PAL") : QStringLiteral("NTSC");
            result.frameRate = FrameRateOf(result.standard);
        }
    }
    for (const auto& [set, titles] : leftOut)
        result.warnings << (titles.size() == 1 ? QStringLiteral("Title %1 cannot be listed. %2")
                                               : QStringLiteral("Titles %1 cannot be listed. %2"))
                               .arg(numberList(titles), problems[set]);
    if (result.titles.isEmpty())
        result.error =
            QStringLiteral("Only part of a DVD is in \"%1\"; no title can be listed.\n\n")
                .arg(QDir::toNativeSeparators(f)) +
            result.warnings.join(QStringLiteral("\n\n"));
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
    if (!loaded.volumeLabel.isEmpty())
        info.VolumeName = loaded.volumeLabel;
    info.DiscPath = loaded.discPath;
    info.Standard = loaded.standard;
    info.FrameRate = loaded.frameRate;
    tree.resetWith(std::move(loaded.titles));
}
