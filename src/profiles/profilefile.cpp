#include "profilefile.h"

#include "newinifile.h"
#include "profilereader.h"
#include "replacefile.h"

#include <QFile>

#include <algorithm>

using namespace ProfileKeys;

QList<ProfileParameter>& ProfileRows::of(ParameterGroup group) {
    switch (group) {
    case ParameterGroup::Video:
        return video;
    case ParameterGroup::Audio:
        return audio;
    case ParameterGroup::Advanced:
        break;
    }
    return advanced;
}

const QList<ProfileParameter>& ProfileRows::of(ParameterGroup group) const {
    return const_cast<ProfileRows*>(this)->of(group);
}

std::optional<ProfileParameter> ProfileRows::find(ParameterGroup group, const QString& key) const {
    for (const ProfileParameter& row : of(group))
        if (row.key.compare(key, Qt::CaseInsensitive) == 0)
            return row;
    return std::nullopt;
}

QString ProfileRows::error() const {
    return badIndex ? QStringLiteral("List index out of bounds (%1)").arg(*badIndex) : QString();
}

ProfileRows ReadProfile(const IProfileReader& reader) {
    ProfileRows rows;
    rows.type = reader.readString(Main, Type, DefaultType);
    const int count = std::min(reader.readInteger(Main, Para, 0), MaxProfileParameters);
    std::optional<ParameterGroup> group;
    for (int i = 0; i < count; ++i) {
        ProfileParameter row;
        row.key = reader.readString(Main, QString::number(i));
        group = ParameterGroupFor(reader.readInteger(row.key, Sort, -1), group ? &*group : nullptr);
        row.readOnly = reader.readBool(row.key, ReadOnly, false);
        const QString caption = reader.readString(row.key, Caption);
        if (reader.readBool(row.key, List, true)) {
            row.hasPickList = true;
            row.pickList = SplitCommaList(caption);
            row.readOnly = true;
            const int index = reader.readInteger(row.key, Index, 0);
            if (index < 0 || index >= row.pickList.size()) {
                rows.of(*group) << row;
                rows.badIndex = index;
                break;
            }
            row.value = row.pickList[index];
        } else {
            row.value = caption;
        }
        rows.of(*group) << row;
    }
    return rows;
}

void WriteProfileValues(TNewInifile& ini, const ParameterLookup& rowOf) {
    const int count = std::min(ini.ReadInteger(Main, Para, 0), MaxProfileParameters);
    std::optional<ParameterGroup> group;
    for (int i = 0; i < count; ++i) {
        const QString name = ini.ReadString(Main, QString::number(i), QString());
        group = ParameterGroupFor(ini.ReadInteger(name, Sort, -1), group ? &*group : nullptr);
        if (name.isEmpty() || ini.ReadBool(name, ReadOnly, false))
            continue;
        const std::optional<ProfileParameter> row = rowOf(*group, name);
        if (!row)
            continue; // a row the loading never reached: the file keeps its value
        if (ini.ReadBool(name, List, true)) {
            ini.WriteInteger(name, Index, int(CaptionIndex(row->pickList, row->value)));
        } else {
            ini.WriteString(name, Caption, row->value);
            ini.WriteString(name, Value, row->value);
        }
    }
}

bool CopyProfileFile(const QString& source, const QString& target, QString* error) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot open file \"%1\". %2").arg(source, in.errorString());
        return false;
    }
    // Read whole before writing, so that a copy onto the source itself leaves it intact.
    const QByteArray bytes = in.readAll();
    in.close();
    QString reason;
    if (replaceFile(target, bytes, &reason))
        return true;
    *error = QStringLiteral("Cannot create file \"%1\". %2").arg(target, reason);
    return false;
}
