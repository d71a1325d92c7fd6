#include "dvd/parser.h"

#include "dvd/ifobytes.h"
#include "dvd/ifochain.h"
#include "dvd/ifonames.h"

#include <QDir>
#include <QFile>

namespace {

// Fixed positions in a title-set information file.
constexpr quint64 partTableSectorAt = 0xC8;
constexpr quint64 chainTableSectorAt = 0xCC;
constexpr quint64 videoAttributesAt = 0x200;
constexpr quint64 audioCountAt = 0x202;
constexpr quint64 audioEntriesAt = 0x204;
constexpr quint64 audioEntrySize = 8;
constexpr quint64 subpictureCountAt = 0x254;
constexpr quint64 subpictureEntriesAt = 0x256;
constexpr quint64 subpictureEntrySize = 6;
// The file has room for this many stream entries; a larger count cannot be right.
constexpr int maxAudioStreams = 8;
constexpr int maxSubpictureStreams = 32;

// Positions within the part-of-title table: a header, then one 32-bit offset per title of the
// set to its list of 4-byte chapter entries (program chain, program).
constexpr quint64 partOffsetsAt = 8;
constexpr quint64 partEntrySize = 4;
constexpr int maxTitlesInSet = 99;

// Positions within the program chain table.
constexpr quint64 chainEntriesAt = 8;
constexpr quint64 chainEntrySize = 8;
constexpr quint64 chainOffsetInEntry = 4;

QString languageCodeAt(const IfoByteView& bytes, quint64 position, const QString& what) {
    const quint16 code = bytes.u16(position, what);
    const char characters[2] = {char(code >> 8), char(code & 0xFF)};
    return QString::fromLatin1(characters, 2);
}

TVideoStream readVideo(const IfoByteView& bytes) {
    const quint16 attributes = bytes.u16(videoAttributesAt, QStringLiteral("the video attributes"));
    TVideoStream video;
    video.Coding = VideoCodingName((attributes >> 14) & 3);
    video.Standard = VideoStandardName((attributes >> 12) & 3);
    video.Aspect = DisplayAspectName((attributes >> 10) & 3);
    video.Resolution = PictureSizeName(video.Standard, (attributes >> 2) & 3);
    return video;
}

TAudioStream readAudioStream(const IfoByteView& bytes, quint64 entry) {
    const QString what = QStringLiteral("the audio stream entry");
    bytes.require(entry, audioEntrySize, what);
    const quint16 attributes = bytes.u16(entry, what);
    TAudioStream audio;
    audio.CodingMode = quint8(attributes >> 13);
    audio.Coding = AudioCodingName(audio.CodingMode);
    audio.Channels = quint8((attributes & 7) + 1);
    audio.LanguageCode = languageCodeAt(bytes, entry + 2, what);
    audio.LanguageName = LanguageName(audio.LanguageCode);
    audio.CodeExtension = AudioCodeExtensionName(bytes.u8(entry + 5, what));
    return audio;
}

QList<TAudioStream> readAudioStreams(const IfoByteView& bytes, quint16 count) {
    if (count > maxAudioStreams)
        throw EIFOError(
            QStringLiteral("the title set claims %1 audio streams; it can have at most %2")
                .arg(count)
                .arg(maxAudioStreams));
    QList<TAudioStream> streams;
    for (int k = 0; k < count; ++k)
        streams.append(InContext(QStringLiteral("audio stream %1").arg(k + 1), [&] {
            return readAudioStream(bytes, audioEntriesAt + audioEntrySize * k);
        }));
    return streams;
}

QStringList readSubpictureLanguages(const IfoByteView& bytes, quint16 count) {
    // Of the 16-bit count only the low byte can ever be in use.
    if (count > maxSubpictureStreams)
        throw EIFOError(
            QStringLiteral("the title set claims %1 subpicture streams; it can have at most %2")
                .arg(count)
                .arg(maxSubpictureStreams));
    QStringList languages;
    for (int k = 0; k < count; ++k) {
        const quint64 entry = subpictureEntriesAt + subpictureEntrySize * k;
        const QString what = QStringLiteral("the entry of subpicture stream %1").arg(k + 1);
        bytes.require(entry, subpictureEntrySize, what);
        languages.append(LanguageName(languageCodeAt(bytes, entry + 2, what)));
    }
    return languages;
}

TVTS_VOBS readVobs(const IfoByteView& bytes) {
    TVTS_VOBS vobs;
    vobs.Video = readVideo(bytes);
    vobs.AudioCount = bytes.u16(audioCountAt, QStringLiteral("the number of audio streams"));
    vobs.Audio = readAudioStreams(bytes, vobs.AudioCount);
    const quint16 subpictures =
        bytes.u16(subpictureCountAt, QStringLiteral("the number of subpicture streams"));
    vobs.SubpictureLanguages = readSubpictureLanguages(bytes, subpictures);
    vobs.SubpictureCount = quint8(subpictures);
    return vobs;
}

TVTS_PGCI readChains(const IfoByteView& bytes, const TVTS_VOBS& vobs) {
    const IfoTable table =
        ReadIfoTable(bytes, chainTableSectorAt, QStringLiteral("program chain table"));
    TVTS_PGCI pgci;
    pgci.Count = table.count;
    // The entries must all be in the table before the list is sized by their count.
    table.requireEntries(chainEntriesAt, chainEntrySize,
                         QStringLiteral("the table of %1 program chains").arg(pgci.Count));
    pgci.Chains.reserve(pgci.Count);
    for (int i = 0; i < pgci.Count; ++i) {
        pgci.Chains.append(InContext(QStringLiteral("program chain %1").arg(i + 1), [&] {
            const quint64 entry = table.start + chainEntriesAt + chainEntrySize * quint64(i);
            const quint32 offset =
                bytes.u32(entry + chainOffsetInEntry, QStringLiteral("the chain's position"));
            table.requireInside(offset, ProgramChainFixedSize, QStringLiteral("the chain"));
            return ReadProgramChain(bytes, table.start + offset, vobs);
        }));
    }
    return pgci;
}

// The first chapter's program chain of every title of the set, checked against the chains the
// file has: a table that names a chain it lacks is damaged. (One that lists fewer titles than
// the disc puts in the set is found wanting by the disc's loader.)
QList<int> readTitleChains(const IfoByteView& bytes, int chainCount) {
    const IfoTable table =
        ReadIfoTable(bytes, partTableSectorAt, QStringLiteral("part-of-title table"));
    if (table.count > maxTitlesInSet)
        throw EIFOError(QStringLiteral("the part-of-title table lists %1 titles; a title set has "
                                       "at most %2")
                            .arg(table.count)
                            .arg(maxTitlesInSet));
    table.requireEntries(partOffsetsAt, 4, QStringLiteral("the part-of-title table's offsets"));
    QList<int> chains;
    for (int t = 0; t < table.count; ++t) {
        const QString what = QStringLiteral("the chapters of title %1 of the set").arg(t + 1);
        const quint32 offset = bytes.u32(table.start + partOffsetsAt + 4 * quint64(t), what);
        table.requireInside(offset, partEntrySize, what);
        const quint16 chain = bytes.u16(table.start + offset, what);
        if (chain < 1 || chain > chainCount)
            throw EIFOError(QStringLiteral("title %1 of the set starts in program chain %2, but "
                                           "the set has %3")
                                .arg(t + 1)
                                .arg(chain)
                                .arg(chainCount));
        chains.append(chain - 1);
    }
    return chains;
}

} // namespace

QString IFOFailure(const QString& fileName, const QString& problem) {
    return QStringLiteral("Cannot read the DVD information file \"%1\": %2.")
        .arg(QDir::toNativeSeparators(fileName), problem);
}

TIFO ParseIFO(const QByteArray& data, const QString& fileName) {
    const QString kind = QStringLiteral("title-set information file");
    return ParseInfoFile(data, fileName, kind, [&](const IfoByteView& bytes) {
        RequireIfoIdentifier(bytes, "DVDVIDEO-VTS", kind);
        TIFO ifo;
        ifo.VOBS = readVobs(bytes);
        ifo.PGCI = readChains(bytes, ifo.VOBS);
        ifo.TitleChains = readTitleChains(bytes, ifo.PGCI.Count);
        RequireStoredLength(bytes);
        return ifo;
    });
}

TIFO ReadIFO(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EIFOError(IFOFailure(
            fileName, QStringLiteral("it cannot be opened (%1)").arg(file.errorString())));
    // One byte more than allowed, so that an oversized file is recognised without reading it all.
    const QByteArray data = file.read(MaxIFOFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw EIFOError(
            IFOFailure(fileName, QStringLiteral("reading it failed (%1)").arg(file.errorString())));
    return ParseIFO(data, fileName);
}
