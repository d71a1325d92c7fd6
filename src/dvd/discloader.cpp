#include "dvd/discloader.h"

#include "core/paths.h"
#include "core/timetext.h"
#include "dvd/dvdstructure.h"
#include "dvd/ifonames.h"
#include "dvd/mendeddisc.h"
#include "dvd/parser.h"
#include "dvd/tasktree.h"
#include "dvd/titletable.h"

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
    t.CellStartSeconds = 0;
    t.CellEndSeconds = length;
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
        t.AudioLanguages << (IsLanguageCode(a.LanguageCode) ? a.LanguageCode : QString());
        t.AudioStreamIds << AudioStreamId(a.CodingMode, chain.AudioStreamNumbers.value(k, 0xFF));
    }
    for (int k = 0; k < vobs.SubpictureLanguages.size(); ++k)
        if (k < chain.SubpictureAvailable.size() && chain.SubpictureAvailable[k] == u'1')
            t.Subtitles << vobs.SubpictureLanguages[k];
}

// "Chapter01" … made once for every title of a disc (and of each disc read on this thread):
// the texts are shared, not made again for each of thousands of chapters.
const QString& chapterName(int number) {
    thread_local QStringList names;
    while (names.size() < number)
        names << NumberedName(QStringLiteral("Chapter"), int(names.size()) + 1);
    return names[number - 1];
}

QList<TTaskNode> chapterNodes(const TTaskNode& title, const TProgramChain& chain) {
    QList<TTaskNode> chapters;
    chapters.reserve(chain.ProgramCount);
    const int count =
        std::min<qsizetype>({qsizetype(chain.ProgramCount), chain.ChapterStartMilliseconds.size(),
                             chain.ChapterLengthMilliseconds.size()});
    double previousEnd = -1;
    QString previousEndText;
    for (int j = 0; j < count; ++j) {
        TTaskNode c;
        c.IsTitle = false;
        c.Number = j + 1;
        c.ChapterIndex = j;
        c.ShortName = chapterName(j + 1);
        c.Caption = c.ShortName;
        // The start as shown, in whole seconds; the end is that plus the exact length.
        const double startSeconds =
            double(RoundHalfEven(chain.ChapterStartMilliseconds[j] / 1000.0));
        const double endSeconds =
            double(RoundHalfEven(startSeconds + chain.ChapterLengthMilliseconds[j] / 1000.0));
        // A chapter mostly starts where the one before it ends, shown alike.
        c.OrigStartText = c.StartText =
            startSeconds == previousEnd ? previousEndText : SecondsToTimeText(startSeconds);
        c.OrigEndText = c.EndText = SecondsToTimeText(endSeconds);
        previousEnd = endSeconds;
        previousEndText = c.EndText;
        c.OrigStartSeconds = c.StartSeconds = startSeconds;
        c.OrigEndSeconds = c.EndSeconds = endSeconds;
        c.CellStartSeconds = chain.ChapterStartMilliseconds[j] / 1000.0;
        c.CellEndSeconds =
            (chain.ChapterStartMilliseconds[j] + chain.ChapterLengthMilliseconds[j]) / 1000.0;
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

QString InfoFileName(int titleSet, bool backup) {
    const QString extension = backup ? QStringLiteral("BUP") : QStringLiteral("IFO");
    if (titleSet == 0)
        return QStringLiteral("VIDEO_TS.") + extension;
    return QStringLiteral("VTS_%1_0.%2").arg(titleSet, 2, 10, QLatin1Char('0')).arg(extension);
}

namespace {

// A disc's file as the user finds it: in the folder under its real name, or in the image.
QString shownFileName(const QString& discPath, const QString& name) {
    if (!discPath.endsWith(u'/'))
        return discPath + QStringLiteral(" (VIDEO_TS/") + name + u')';
    const QString real = EntryIgnoringCase(discPath, name);
    return discPath + (real.isEmpty() ? name : real);
}

// One information file parsed, from the file itself or, when it is missing or damaged, from
// its backup; none, with what is wrong with both, when neither gives it.
template <typename Parsed> struct InfoRead {
    std::optional<Parsed> parsed;
    QString problem;
    bool bothMissing = false;
    bool fromBackup = false; // the file itself is missing or damaged
};

template <typename Parse>
auto readInfo(IDvdStructureReader& reader, const QString& discPath, int titleSet,
              const Parse& parse) {
    InfoRead<decltype(parse(QByteArray(), QString()))> read;
    QStringList problems;
    int missing = 0;
    for (const bool backup : {false, true}) {
        const QString shown = shownFileName(discPath, InfoFileName(titleSet, backup));
        const InfoFileRead file = reader.infoFile(titleSet, backup);
        if (!file.bytes) {
            missing += file.problem.startsWith(QLatin1String("it is missing")) ? 1 : 0;
            problems << IFOFailure(shown, file.problem);
            continue;
        }
        try {
            read.parsed = parse(*file.bytes, shown);
            read.fromBackup = backup;
            return read;
        } catch (const EIFOError& e) {
            problems << e.message();
        }
    }
    read.problem = problems.join(u' ');
    read.bothMissing = missing == 2;
    return read;
}

// A title set whose own tables hold every title the disc's title table puts in it.
TIFO parseTitleSet(const QByteArray& bytes, const QString& shown, int titlesNeeded) {
    TIFO ifo = ParseIFO(bytes, shown);
    if (ifo.TitleChains.size() < titlesNeeded)
        throw EIFOError(IFOFailure(shown, QStringLiteral("the disc's title table names title %1 "
                                                         "of it, but its own table lists %2")
                                              .arg(titlesNeeded)
                                              .arg(ifo.TitleChains.size())));
    return ifo;
}

bool hasTitleSetFiles(const QString& discPath) {
    if (!discPath.endsWith(u'/'))
        return true; // an image: it is meant as a disc
    // Name filters match in any letter case.
    return !QDir(discPath)
                .entryList({QStringLiteral("VTS_*_0.IFO"), QStringLiteral("VTS_*_0.BUP")},
                           QDir::Files)
                .isEmpty();
}

QString numberList(const QList<int>& numbers) {
    QStringList texts;
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QStringLiteral(", "));
}

// "Titles 4, 5 cannot be listed."
QString titlesLeftOut(const QList<int>& titles) {
    return (titles.size() == 1 ? QStringLiteral("Title %1 cannot be listed.")
                               : QStringLiteral("Titles %1 cannot be listed."))
        .arg(numberList(titles));
}

} // namespace

DiscLoadResult LoadDisc(const QString& location, IDvdStructureReader& reader) {
    DiscLoadResult result;
    const QString f = DiscFolderOf(location);
    result.discPath = f;
    const QString shownDisc = QDir::toNativeSeparators(f);
    const QString noDisc = QStringLiteral("\"%1\" holds no DVD: neither VIDEO_TS.IFO nor its "
                                          "backup VIDEO_TS.BUP is there.");
    if (const QString problem = reader.openDvd(f.endsWith(u'/') ? f.chopped(1) : f);
        !problem.isEmpty()) {
        // A folder without a VIDEO_TS folder is no disc, as an empty one; any other folder or
        // image the system or its contents refuse.
        result.nothingThere =
            !QFileInfo::exists(f) && (QFileInfo(location).isDir() || !QFileInfo::exists(location));
        result.error =
            result.nothingThere
                ? noDisc.arg(QDir::toNativeSeparators(location))
                : QStringLiteral("Cannot open the DVD \"%1\": %2.").arg(shownDisc, problem);
        return result;
    }
    result.volumeLabel = reader.volumeLabel();

    const auto table = readInfo(reader, f, 0, ParseTitleTable);
    QStringList fromBackups; // information files the tools must not be given
    if (table.fromBackup)
        fromBackups << InfoFileName(0, false);
    if (!table.parsed) {
        // A folder without any disc file stays empty without a word in the window, as the
        // drive dialog has already checked; what is missing is said all the same.
        result.nothingThere = table.bothMissing && !hasTitleSetFiles(f);
        if (result.nothingThere)
            result.error = noDisc.arg(shownDisc);
        else if (table.bothMissing)
            result.error =
                QStringLiteral("\"%1\" holds title sets but not the disc's own information "
                               "file: VIDEO_TS.IFO and its backup VIDEO_TS.BUP are missing, so "
                               "no title can be listed.")
                    .arg(shownDisc);
        else
            result.error = QStringLiteral("\"%1\" holds no DVD that can be read. %2")
                               .arg(shownDisc, table.problem);
        return result;
    }

    std::map<int, int> titlesNeeded; // by title set: the highest title number in it
    for (const TDiscTitle& t : *table.parsed)
        titlesNeeded[t.TitleSet] = std::max(titlesNeeded[t.TitleSet], t.TitleInSet);
    std::map<int, InfoRead<TIFO>> titleSets; // by number
    std::map<int, QList<int>> leftOut;       // titles of unreadable title sets
    for (int i = 0; i < table.parsed->size(); ++i) {
        const TDiscTitle& entry = table.parsed->at(i);
        const int s = entry.TitleSet;
        if (!titleSets.count(s))
            titleSets[s] = readInfo(reader, f, s, [&](const QByteArray& b, const QString& n) {
                return parseTitleSet(b, n, titlesNeeded[s]);
            });
        const std::optional<TIFO>& ts = titleSets[s].parsed;
        if (!ts) {
            leftOut[s] << i + 1;
            continue;
        }
        const TProgramChain& chain = ts->PGCI.Chains[ts->TitleChains[entry.TitleInSet - 1]];
        result.titles << MakeTitle(i + 1, &*ts, &chain, entry.AngleCount);
        const bool pal = ts->VOBS.Video.Standard == QLatin1String("PAL");
        result.standard = pal ? QStringLiteral("PAL") : QStringLiteral("NTSC");
        result.frameRate = FrameRateOf(result.standard);
    }
    // Title sets that are not there at all are said in one line; damaged ones each with what
    // is wrong with their files.
    QList<int> absentTitles;
    QStringList absentFiles;
    for (const auto& [set, titles] : leftOut) {
        if (titleSets[set].bothMissing) {
            absentTitles << titles;
            absentFiles << InfoFileName(set, false);
            continue;
        }
        result.warnings << titlesLeftOut(titles) + u' ' + titleSets[set].problem;
    }
    if (!absentTitles.isEmpty())
        result.warnings.prepend(
            titlesLeftOut(absentTitles) + u' ' +
            (absentFiles.size() == 1
                 ? QStringLiteral("The title set's file %1 and its backup are missing from "
                                  "\"%2\".")
                 : QStringLiteral("The title sets' files %1, each with its backup, are missing "
                                  "from \"%2\"."))
                .arg(absentFiles.join(QStringLiteral(", ")), shownDisc));
    for (const auto& [set, read] : titleSets)
        if (read.parsed && read.fromBackup)
            fromBackups << InfoFileName(set, false);
    // A folder's damaged files are mended for the tools; an image is given as it is.
    if (!fromBackups.isEmpty() && f.endsWith(u'/') && !result.titles.isEmpty())
        result.mended = TMendedDisc::Make(f, fromBackups);
    if (result.titles.isEmpty())
        result.error =
            QStringLiteral("Only part of a DVD is in \"%1\"; no title can be listed.\n\n")
                .arg(shownDisc) +
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

QString ToolDiscPath(const TDVDInformation& info) {
    return info.Mended ? info.Mended->folder() : info.DiscPath;
}

void ApplyLoadedDisc(DiscLoadResult loaded, TTaskTree& tree, TDVDInformation& info) {
    if (!loaded.volumeLabel.isEmpty())
        info.VolumeName = loaded.volumeLabel;
    info.DiscPath = loaded.discPath;
    info.Mended = loaded.mended;
    info.Standard = loaded.standard;
    info.FrameRate = loaded.frameRate;
    tree.resetWith(std::move(loaded.titles));
}
