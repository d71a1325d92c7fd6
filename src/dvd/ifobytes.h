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

// A table of the file that starts on the sector named at `sectorAt` of the file's header: a
// 16-bit count of entries, two unused bytes, the 32-bit position of the table's last byte
// counted from its start, then the entries. The whole table must lie inside the file, and what
// is read of it inside the table.
struct IfoTable {
    const IfoByteView& bytes;
    QString name;
    quint64 start = 0; // its first byte in the file
    quint64 size = 0;  // its bytes, from the stored last byte
    quint16 count = 0;

    // Throws unless `count` entries of `entrySize` bytes from `offset` lie inside the table.
    void requireEntries(quint64 offset, quint64 entrySize, const QString& what) const;
    // Throws unless `length` bytes at `offset` from the table's start lie inside it.
    void requireInside(quint64 offset, quint64 length, const QString& what) const;
};
IfoTable ReadIfoTable(const IfoByteView& bytes, quint64 sectorAt, const QString& name);

// Throws unless the file begins with the identifier its kind of file carries ("DVDVIDEO-VTS").
void RequireIfoIdentifier(const IfoByteView& bytes, const char* identifier, const QString& kind);

// Throws unless the file has the sectors its header says it has (the number of its last sector
// at 0x1C, in either kind of file). A file cut short may still hold every table this program
// reads, but a player's DVD library reads whole sectors and fails, or crashes, on it.
void RequireStoredLength(const IfoByteView& bytes);

inline constexpr quint64 IfoSectorSize = 2048;
