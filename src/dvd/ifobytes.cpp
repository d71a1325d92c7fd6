#include "dvd/ifobytes.h"

#include "dvd/ifotypes.h"

void IfoByteView::require(quint64 position, quint64 length, const QString& what) const {
    // Compared without forming position + length, which could wrap.
    if (position > size() || length > size() - position)
        throw EIFOError(QStringLiteral("%1 lies past the end of the file (%2 %3 at byte %4; the "
                                       "file has %5 bytes)")
                            .arg(what)
                            .arg(length)
                            .arg(length == 1 ? QStringLiteral("byte") : QStringLiteral("bytes"))
                            .arg(position)
                            .arg(size()));
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
