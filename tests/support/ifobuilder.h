#pragma once

#include <QByteArray>
#include <QList>

// Builds title-set information files (VTS_nn_0.IFO) for tests: the fields the IFO reader uses
// at their places in the file, everything else zero. Counts are taken from the lists; a test
// that wants a count to disagree overwrites it in the built image.

// A stored playing time: hours, minutes, seconds and frames as decimal numbers, written as BCD,
// with the frame-rate code in the top two bits of the last byte (binary 01: 25, 11: 30 fps).
quint32 IfoTime(int hours, int minutes, int seconds, int frames = 0, int rateCode = 1);

struct IfoAudioEntry {
    quint16 attributes = 0; // coding in bits 15-13, channels - 1 in bits 2-0
    QByteArray language = "en";
    quint8 codeExtension = 0;
};

struct IfoChainEntry {
    quint32 playbackTime = 0;
    QList<quint8> programMap; // the first cell of each chapter
    QList<quint32> cellTimes; // one stored playing time per cell
    // The first byte of each cell's entry (block mode in bits 7-6, block type in 5-4: 0x50
    // starts an angle block, 0x90 continues it, 0xD0 ends it); 0 past the list's end.
    QList<quint8> cellCategories;
    // First byte of each stream's control entry (bit 7 set: present in this chain); streams
    // past the end of a list are absent.
    QList<quint8> audioControl;
    QList<quint8> subpictureControl;
};

class IfoBuilder {
public:
    // Places the format fixes; tests use them to spoil a field of a built image.
    static constexpr qint64 PartTableSectorAt = 0xC8;
    static constexpr qint64 ChainTableSectorAt = 0xCC;
    static constexpr qint64 VideoAttributesAt = 0x200;
    static constexpr qint64 AudioCountAt = 0x202;
    static constexpr qint64 SubpictureCountAt = 0x254;
    static constexpr qint64 ChainTableAt = 2048; // sector 1
    static constexpr qint64 ProgramMapOffsetInChain = 0xE6;
    static constexpr qint64 CellTableOffsetInChain = 0xE8;
    static constexpr qint64 ChainFixedSize = 0xEC;
    static constexpr qint64 CellEntrySize = 24;

    quint16 videoAttributes = 0x4C00; // MPEG2, NTSC, 16:9, 720x480
    QList<IfoAudioEntry> audio;
    QList<QByteArray> subpictureLanguages;
    QList<IfoChainEntry> chains;
    // The chain (from 1) each title of the set starts in; empty: one title per chain.
    QList<int> titleChains;

    QByteArray build() const;

    qint64 chainAt(int index) const; // where chain `index` starts in the built image
    qint64 chainEntryAt(int index) const { return ChainTableAt + 8 + 8 * index; }

private:
    static qint64 programMapSize(const IfoChainEntry& chain);
    static qint64 chainSize(const IfoChainEntry& chain);
};

// Big-endian writes into an image; the image grows when the place lies past its end.
void PutU8(QByteArray& image, qint64 position, quint8 value);
void PutU16(QByteArray& image, qint64 position, quint16 value);
void PutU32(QByteArray& image, qint64 position, quint32 value);

// The disc's own information file (VIDEO_TS.IFO): its title table on sector 1.
struct IfoTitleEntry {
    quint8 titleSet = 1;
    quint8 titleInSet = 1;
    quint8 angles = 1;
};
QByteArray BuildDiscInfo(const QList<IfoTitleEntry>& titles);
inline constexpr qint64 TitleTableSectorAt = 0xC4;
