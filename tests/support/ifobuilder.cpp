#include "support/ifobuilder.h"

namespace {

quint8 bcd(int value) {
    return quint8((value / 10) << 4 | (value % 10));
}

void putBigEndian(QByteArray& image, qint64 position, quint32 value, int length) {
    if (image.size() < position + length)
        image.resize(position + length, '\0');
    for (int i = 0; i < length; ++i)
        image[position + i] = char(value >> (8 * (length - 1 - i)));
}

} // namespace

quint32 IfoTime(int hours, int minutes, int seconds, int frames, int rateCode) {
    return quint32(bcd(hours)) << 24 | quint32(bcd(minutes)) << 16 | quint32(bcd(seconds)) << 8 |
           quint32(rateCode << 6 | bcd(frames));
}

void PutU8(QByteArray& image, qint64 position, quint8 value) {
    putBigEndian(image, position, value, 1);
}

void PutU16(QByteArray& image, qint64 position, quint16 value) {
    putBigEndian(image, position, value, 2);
}

void PutU32(QByteArray& image, qint64 position, quint32 value) {
    putBigEndian(image, position, value, 4);
}

qint64 IfoBuilder::programMapSize(const IfoChainEntry& chain) {
    return (chain.programMap.size() + 1) / 2 * 2; // tables start at even offsets
}

qint64 IfoBuilder::chainSize(const IfoChainEntry& chain) {
    return ChainFixedSize + programMapSize(chain) + CellEntrySize * chain.cellTimes.size();
}

qint64 IfoBuilder::chainAt(int index) const {
    qint64 position = ChainTableAt + 8 + 8 * chains.size();
    for (int i = 0; i < index; ++i)
        position += chainSize(chains[i]);
    return position;
}

QByteArray IfoBuilder::build() const {
    QByteArray image(ChainTableAt, '\0');
    image.replace(0, 12, "DVDVIDEO-VTS");
    PutU32(image, ChainTableSectorAt, ChainTableAt / 2048);

    PutU16(image, VideoAttributesAt, videoAttributes);
    PutU16(image, AudioCountAt, quint16(audio.size()));
    for (int k = 0; k < audio.size(); ++k) {
        const qint64 entry = 0x204 + 8 * k;
        PutU16(image, entry, audio[k].attributes);
        image.replace(entry + 2, 2, audio[k].language.leftJustified(2, '\0', true));
        PutU8(image, entry + 5, audio[k].codeExtension);
    }
    PutU16(image, SubpictureCountAt, quint16(subpictureLanguages.size()));
    for (int k = 0; k < subpictureLanguages.size(); ++k)
        image.replace(0x256 + 6 * k + 2, 2, subpictureLanguages[k].leftJustified(2, '\0', true));

    PutU16(image, ChainTableAt, quint16(chains.size()));
    for (int i = 0; i < chains.size(); ++i) {
        const IfoChainEntry& chain = chains[i];
        const qint64 start = chainAt(i);
        PutU8(image, chainEntryAt(i), quint8(0x80 | (i + 1))); // an entry chain of title i + 1
        PutU32(image, chainEntryAt(i) + 4, quint32(start - ChainTableAt));

        PutU8(image, start + 2, quint8(chain.programMap.size()));
        PutU8(image, start + 3, quint8(chain.cellTimes.size()));
        PutU32(image, start + 4, chain.playbackTime);
        for (int k = 0; k < chain.audioControl.size(); ++k)
            PutU8(image, start + 12 + 2 * k, chain.audioControl[k]);
        for (int k = 0; k < chain.subpictureControl.size(); ++k)
            PutU8(image, start + 28 + 4 * k, chain.subpictureControl[k]);

        const qint64 programMap = ChainFixedSize;
        const qint64 cellTable = programMap + programMapSize(chain);
        if (!chain.programMap.isEmpty())
            PutU16(image, start + ProgramMapOffsetInChain, quint16(programMap));
        if (!chain.cellTimes.isEmpty())
            PutU16(image, start + CellTableOffsetInChain, quint16(cellTable));
        for (int j = 0; j < chain.programMap.size(); ++j)
            PutU8(image, start + programMap + j, chain.programMap[j]);
        for (int c = 0; c < chain.cellTimes.size(); ++c) {
            PutU8(image, start + cellTable + CellEntrySize * c, chain.cellCategories.value(c));
            PutU32(image, start + cellTable + CellEntrySize * c + 4, chain.cellTimes[c]);
        }
        // Make the image reach the chain's end even when its last table is empty.
        if (image.size() < start + chainSize(chain))
            image.resize(start + chainSize(chain), '\0');
    }
    if (image.size() < ChainTableAt + 8) // the table's header, with no chains
        image.resize(ChainTableAt + 8, '\0');
    PutU32(image, ChainTableAt + 4, quint32(image.size() - ChainTableAt - 1)); // last byte

    // The part-of-title table on the next sector: each title's one chapter entry names the
    // chain it starts in.
    QList<int> titles = titleChains;
    if (titles.isEmpty())
        for (int i = 0; i < chains.size(); ++i)
            titles << i + 1;
    const qint64 partTable = (image.size() + 2047) / 2048 * 2048;
    PutU32(image, PartTableSectorAt, quint32(partTable / 2048));
    PutU16(image, partTable, quint16(titles.size()));
    const qint64 entries = 8 + 4 * titles.size();
    for (int t = 0; t < titles.size(); ++t) {
        PutU32(image, partTable + 8 + 4 * t, quint32(entries + 4 * t));
        PutU16(image, partTable + entries + 4 * t, quint16(titles[t]));
        PutU16(image, partTable + entries + 4 * t + 2, 1);
    }
    PutU32(image, partTable + 4, quint32(entries + 4 * titles.size() - 1));
    image.resize(partTable + entries + 4 * titles.size(), '\0');
    return image;
}

QByteArray BuildDiscInfo(const QList<IfoTitleEntry>& titles) {
    QByteArray image(2048, '\0');
    image.replace(0, 12, "DVDVIDEO-VMG");
    PutU32(image, TitleTableSectorAt, 1);
    PutU16(image, 2048, quint16(titles.size()));
    PutU32(image, 2048 + 4, quint32(8 + 12 * titles.size() - 1));
    for (int i = 0; i < titles.size(); ++i) {
        const qint64 entry = 2048 + 8 + 12 * i;
        PutU8(image, entry + 1, titles[i].angles);
        PutU16(image, entry + 2, 1); // chapters
        PutU8(image, entry + 6, titles[i].titleSet);
        PutU8(image, entry + 7, titles[i].titleInSet);
    }
    image.resize(4096, '\0');
    return image;
}
