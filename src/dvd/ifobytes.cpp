#include "dvd/ifobytes.h"

#include "dvd/ifotypes.h"

void IfoByteView::require(quint64 position, quint64 length, const QString& what) const {
    // Compared without forming position + length, which could wrap.
    if (position > size() || length > size() - position)
        throw EIFOError(QStringLiteral("the file has %1 bytes, too few for %2 (%3 %4 at byte %5)")
                            .arg(size())
                            .arg(what)
                            .arg(length)
                            .arg(length == 1 ? QStringLiteral("byte") : QStringLiteral("bytes"))
                            .arg(position));
}

quint64 IfoByteView::bigEndian(quint64 position, int length, const QString& what) const {
    require(position, quint64(length), what);
    quint64 value = 0;
    for (int i = 0; i < length; ++i)
        value = (value << 8) | quint8(m_data[qsizetype(position) + i]);
    return value;
}

quint8 IfoByteView::u8(quint64 position, const QString& what) const {
    return quint8(bigEndian(position, 1, what));
}

quint16 IfoByteView::u16(quint64 position, const QString& what) const {
    return quint16(bigEndian(position, 2, what));
}

quint32 IfoByteView::u32(quint64 position, const QString& what) const {
    return quint32(bigEndian(position, 4, what));
}

void IfoTable::requireEntries(quint64 offset, quint64 entrySize, const QString& what) const {
    requireInside(offset, entrySize * count, what);
}

void IfoTable::requireInside(quint64 offset, quint64 length, const QString& what) const {
    if (offset > size || length > size - offset)
        throw EIFOError(QStringLiteral("%1 (%2 bytes at byte %3 of the %4) run past the table's "
                                       "%5 bytes")
                            .arg(what)
                            .arg(length)
                            .arg(offset)
                            .arg(name)
                            .arg(size));
}

IfoTable ReadIfoTable(const IfoByteView& bytes, quint64 sectorAt, const QString& name) {
    const quint32 sector = bytes.u32(sectorAt, QStringLiteral("the %1's sector").arg(name));
    if (sector == 0)
        throw EIFOError(QStringLiteral("the %1 is missing (its sector is 0)").arg(name));
    IfoTable table{bytes, name, quint64(sector) * IfoSectorSize};
    constexpr quint64 headerSize = 8;
    table.count = bytes.u16(table.start, QStringLiteral("the %1").arg(name));
    table.size = quint64(bytes.u32(table.start + 4, QStringLiteral("the %1").arg(name))) + 1;
    if (table.size < headerSize)
        throw EIFOError(QStringLiteral("the %1 says it ends at byte %2, inside its own %3-byte "
                                       "header")
                            .arg(name)
                            .arg(table.size - 1)
                            .arg(headerSize));
    bytes.require(table.start, table.size, QStringLiteral("the %1").arg(name));
    return table;
}

void RequireIfoIdentifier(const IfoByteView& bytes, const char* identifier, const QString& kind) {
    const quint64 length = qstrlen(identifier);
    bytes.require(0, length, QStringLiteral("the identifier"));
    for (quint64 i = 0; i < length; ++i)
        if (bytes.u8(i, QStringLiteral("the identifier")) != quint8(identifier[i]))
            throw EIFOError(QStringLiteral("it does not begin with \"%1\", so it is no %2")
                                .arg(QLatin1String(identifier), kind));
}

void RequireStoredLength(const IfoByteView& bytes) {
    constexpr quint64 lastSectorAt = 0x1C;
    const quint64 sectors =
        quint64(bytes.u32(lastSectorAt, QStringLiteral("the number of its last sector"))) + 1;
    if (bytes.size() < sectors * IfoSectorSize)
        throw EIFOError(QStringLiteral("it is cut short: its header gives it %1 sectors (%2 "
                                       "bytes), but it has %3 bytes")
                            .arg(sectors)
                            .arg(sectors * IfoSectorSize)
                            .arg(bytes.size()));
}
