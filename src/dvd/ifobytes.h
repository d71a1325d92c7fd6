#pragma once

#include <QByteArray>
#include <QString>

// Big-endian reads from an information file held in memory. Every read checks that it lies
// inside the file, in 64-bit arithmetic so that no sector or offset can wrap around; a read
// past the end throws EIFOError naming what was being read.
class IfoByteView {
public:
    explicit IfoByteView(const QByteArray& data) : m_data(data) {}

    quint64 size() const { return quint64(m_data.size()); }

    // Throws unless the `length` bytes at `position` lie inside the file.
    void require(quint64 position, quint64 length, const QString& what) const;

    quint8 u8(quint64 position, const QString& what) const;
    quint16 u16(quint64 position, const QString& what) const;
    quint32 u32(quint64 position, const QString& what) const;

private:
    quint64 bigEndian(quint64 position, int length, const QString& what) const;

    const QByteArray& m_data;
};
