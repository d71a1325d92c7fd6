#include "dvd/ifochain.h"

#include "dvd/ifotime.h"

namespace {

// Positions within one program chain.
constexpr quint64 chainPlaybackTimeAt = 4;
constexpr quint64 audioControlAt = 12;
constexpr quint64 audioControlSize = 2;
constexpr quint64 subpictureControlAt = 28;
constexpr quint64 subpictureControlSize = 4;
constexpr quint64 programMapOffsetAt = 0xE6;
constexpr quint64 cellTableOffsetAt = 0xE8;
constexpr quint64 cellEntrySize = 24;
constexpr quint64 cellPlaybackTimeAt = 4;

constexpr qint64 millisecondsPerSecond = 1000;

// One '1' or '0' per stream: whether the top bit of the stream's control entry is set.
QString availability(const IfoByteView& bytes, quint64 controls, quint64 entrySize, int count,
                     const QString& what) {
    QString flags;
    for (int k = 0; k < count; ++k)
        flags += (bytes.u8(controls + entrySize * k, what) & 0x80) ? u'1' : u'0';
    return flags;
}

// Where a table of the chain lies: its 16-bit offset from the chain's start, which must point
// past the chain's own fields.
quint64 chainTablePosition(const IfoByteView& bytes, quint64 chain, quint64 offsetAt,
                           const QString& table) {
    const quint16 offset = bytes.u16(chain + offsetAt, QStringLiteral("the %1 offset").arg(table));
    if (offset < ProgramChainFixedSize)
        throw EIFOError(QStringLiteral("the %1 offset (%2) does not point past the chain's own "
                                       "%3 bytes")
                            .arg(table)
                            .arg(offset)
                            .arg(ProgramChainFixedSize));
    return chain + offset;
}

QList<quint8> readProgramMap(const IfoByteView& bytes, quint64 chain, const TProgramChain& pgc) {
    QList<quint8> map;
    if (pgc.ProgramCount == 0)
        return map;
    if (pgc.CellCount == 0)
        throw EIFOError(QStringLiteral("the chain has chapters but no cells"));
    const quint64 position =
        chainTablePosition(bytes, chain, programMapOffsetAt, QStringLiteral("program map"));
    const QString what = QStringLiteral("the program map");
    bytes.require(position, pgc.ProgramCount, what);
    for (int j = 0; j < pgc.ProgramCount; ++j) {
        const quint8 cell = bytes.u8(position + j, what);
        if (cell < 1 || cell > pgc.CellCount)
            throw EIFOError(QStringLiteral("chapter %1 starts at cell %2, but the chain's cells "
                                           "are numbered 1 to %3")
                                .arg(j + 1)
                                .arg(cell)
                                .arg(pgc.CellCount));
        map.append(cell);
    }
    return map;
}

// Cells of one angle block are the same stretch of the film seen from each camera: only the
// block's first counts towards the time, as a player plays one of them.
bool isFurtherAngle(const IfoByteView& bytes, quint64 entry) {
    const quint8 category = bytes.u8(entry, QStringLiteral("the cell entry"));
    const int blockMode = category >> 6;
    const int blockType = (category >> 4) & 3;
    constexpr int angleBlock = 1;
    constexpr int firstInBlock = 1;
    return blockType == angleBlock && blockMode > firstInBlock;
}

qint64 cellTicks(const IfoByteView& bytes, quint64 cellTable, int cell) {
    const auto context = [cell] {
        return QStringLiteral("the playing time of cell %1").arg(cell + 1);
    };
    return InContext(context, [&] {
        const quint64 entry = cellTable + cellEntrySize * quint64(cell);
        const qint64 ticks = DecodePlaybackTime(bytes.u32(entry + cellPlaybackTimeAt,
                                                          QStringLiteral("the cell entry")))
                                 .Ticks;
        return isFurtherAngle(bytes, entry) ? 0 : ticks;
    });
}

template <typename What> QString timeText(qint64 milliseconds, const What& what) {
    return InContext(what, [&] { return PlaybackTimeText(milliseconds); });
}

// Each chapter runs from its first cell up to the cell before the next chapter's first (the
// last chapter up to the chain's last cell). The cell entries are taken in sequence from the
// table's first one; a chapter whose last cell lies before its first is empty and takes none.
// Times are added in clock ticks and rounded once, so chapter starts do not drift.
void readChapterTimes(const IfoByteView& bytes, quint64 chain, TProgramChain& pgc) {
    if (pgc.ProgramCount == 0)
        return;
    const quint64 cellTable =
        chainTablePosition(bytes, chain, cellTableOffsetAt, QStringLiteral("cell playback table"));
    int nextCell = 0;
    qint64 start = 0;
    for (int j = 0; j < pgc.ProgramCount; ++j) {
        const int first = pgc.ProgramMap[j];
        const int last = j + 1 < pgc.ProgramCount ? pgc.ProgramMap[j + 1] - 1 : pgc.CellCount;
        qint64 length = 0;
        if (last >= first) {
            const int cells = last - first + 1;
            if (nextCell + cells > pgc.CellCount)
                throw EIFOError(QStringLiteral("chapters 1 to %1 take %2 cells, but the chain "
                                               "has only %3")
                                    .arg(j + 1)
                                    .arg(nextCell + cells)
                                    .arg(pgc.CellCount));
            for (int c = 0; c < cells; ++c)
                length += cellTicks(bytes, cellTable, nextCell++);
        }
        const qint64 startMs = TicksToMilliseconds(start);
        const qint64 lengthMs = TicksToMilliseconds(start + length) - startMs;
        pgc.ChapterLengthMilliseconds.append(lengthMs);
        pgc.ChapterStartMilliseconds.append(startMs);
        pgc.ChapterLengths.append(timeText(
            lengthMs, [j] { return QStringLiteral("the length of chapter %1").arg(j + 1); }));
        pgc.ChapterStarts.append(timeText(
            startMs, [j] { return QStringLiteral("the start of chapter %1").arg(j + 1); }));
        start += length;
    }
}

} // namespace

TProgramChain ReadProgramChain(const IfoByteView& bytes, quint64 chain, const TVTS_VOBS& vobs) {
    TProgramChain pgc;
    pgc.ProgramCount = bytes.u8(chain + 2, QStringLiteral("the number of chapters"));
    pgc.CellCount = bytes.u8(chain + 3, QStringLiteral("the number of cells"));

    const QString playingTime = QStringLiteral("the chain's playing time");
    const TPlaybackDuration duration = InContext(playingTime, [&] {
        return DecodePlaybackTime(bytes.u32(chain + chainPlaybackTimeAt, playingTime));
    });
    // Times of day cannot carry a second's worth of frames in their milliseconds.
    if (duration.FrameMilliseconds >= millisecondsPerSecond)
        throw EIFOError(QStringLiteral("the frames of the chain's playing time make %1 ms, a "
                                       "whole second or more")
                            .arg(duration.FrameMilliseconds));
    pgc.PlaybackTime = timeText(duration.Milliseconds, playingTime);
    pgc.PlaybackMilliseconds = duration.Milliseconds;

    pgc.AudioAvailable = availability(bytes, chain + audioControlAt, audioControlSize,
                                      vobs.AudioCount, QStringLiteral("the audio stream controls"));
    // The control entry's first byte: availability in its top bit, the stream number below.
    for (int k = 0; k < vobs.AudioCount; ++k)
        pgc.AudioStreamNumbers.append(bytes.u8(chain + audioControlAt + audioControlSize * k,
                                               QStringLiteral("the audio stream controls")) &
                                      7);
    pgc.SubpictureAvailable =
        availability(bytes, chain + subpictureControlAt, subpictureControlSize,
                     vobs.SubpictureCount, QStringLiteral("the subpicture stream controls"));
    pgc.ProgramMap = readProgramMap(bytes, chain, pgc);
    readChapterTimes(bytes, chain, pgc);
    return pgc;
}
