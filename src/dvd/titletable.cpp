#include "dvd/titletable.h"

#include "dvd/ifobytes.h"
#include "dvd/ifotypes.h"
#include "dvd/parser.h"

namespace {

constexpr quint64 titleTableSectorAt = 0xC4;
constexpr quint64 titleEntriesAt = 8;
constexpr quint64 titleEntrySize = 12;
constexpr int maxTitles = 99;
constexpr int maxTitleSets = 99;
constexpr int maxAngles = 9;

// Positions within one title's entry.
constexpr quint64 angleCountAt = 1;
constexpr quint64 titleSetAt = 6;
constexpr quint64 titleInSetAt = 7;

TDiscTitle readTitle(const IfoByteView& bytes, quint64 entry) {
    const QString what = QStringLiteral("the title's entry");
    TDiscTitle title;
    title.AngleCount = bytes.u8(entry + angleCountAt, what);
    title.TitleSet = bytes.u8(entry + titleSetAt, what);
    title.TitleInSet = bytes.u8(entry + titleInSetAt, what);
    if (title.TitleSet < 1 || title.TitleSet > maxTitleSets)
        throw EIFOError(QStringLiteral("it lies in title set %1; title sets are numbered 1 to %2")
                            .arg(title.TitleSet)
                            .arg(maxTitleSets));
    if (title.TitleInSet < 1)
        throw EIFOError(QStringLiteral("its number within its title set is 0"));
    if (title.AngleCount < 1 || title.AngleCount > maxAngles)
        throw EIFOError(QStringLiteral("it claims %1 camera angles; a title has 1 to %2")
                            .arg(title.AngleCount)
                            .arg(maxAngles));
    return title;
}

} // namespace

QList<TDiscTitle> ParseTitleTable(const QByteArray& data, const QString& fileName) {
    const QString kind = QStringLiteral("disc information file");
    return ParseInfoFile(data, fileName, kind, [&](const IfoByteView& bytes) {
        RequireIfoIdentifier(bytes, "DVDVIDEO-VMG", kind);
        const IfoTable table =
            ReadIfoTable(bytes, titleTableSectorAt, QStringLiteral("title table"));
        if (table.count < 1 || table.count > maxTitles)
            throw EIFOError(QStringLiteral("the title table lists %1 titles; a disc has 1 to %2")
                                .arg(table.count)
                                .arg(maxTitles));
        table.requireEntries(titleEntriesAt, titleEntrySize,
                             QStringLiteral("the entries of %1 titles").arg(table.count));
        QList<TDiscTitle> titles;
        for (int i = 0; i < table.count; ++i)
            titles << InContext(QStringLiteral("title %1").arg(i + 1), [&] {
                return readTitle(bytes, table.start + titleEntriesAt + titleEntrySize * quint64(i));
            });
        RequireStoredLength(bytes);
        return titles;
    });
}
