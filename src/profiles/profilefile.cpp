#include "profiles/profilefile.h"

#include "profiles/newinifile.h"
#include "profiles/profilereader.h"
#include "profiles/replacefile.h"

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

QString ProfileRows::show(const QString& key, const QString& value) {
    for (const ParameterGroup group :
         {ParameterGroup::Video, ParameterGroup::Audio, ParameterGroup::Advanced}) {
        for (ProfileParameter& row : of(group)) {
            if (row.key.compare(key, Qt::CaseInsensitive) != 0)
                continue;
            if (row.hasPickList) {
                const qsizetype at = CaptionIndex(row.pickList, value);
                if (at < 0)
                    return QStringLiteral("\"%1\" is not a choice of %2; the choices are: %3")
                        .arg(value, row.key, row.pickList.join(QStringLiteral(", ")));
                row.value = row.pickList[at];
            } else if (row.readOnly) {
                return QStringLiteral("%1 cannot be changed in this profile").arg(row.key);
            } else {
                row.value = value;
            }
            return {};
        }
    }
    QStringList keys;
    for (const ParameterGroup group :
         {ParameterGroup::Video, ParameterGroup::Audio, ParameterGroup::Advanced})
        for (const ProfileParameter& row : of(group))
            keys << row.key;
    return QStringLiteral("the profile has no row \"%1\"; its rows are: %2")
        .arg(key, keys.join(QStringLiteral(", ")));
}

QString ProfileRows::error() const {
    return badIndex ? QStringLiteral("List index out of bounds (%1)").arg(*badIndex) : QString();
}

QList<ProfileEntry> ReadProfileEntries(const IProfileReader& reader) {
    QList<ProfileEntry> entries;
    const int count = std::clamp(reader.readInteger(Main, Para, 0), 0, MaxProfileParameters);
    for (int i = 0; i < count; ++i) {
        ProfileEntry e;
        e.section = reader.readString(Main, QString::number(i));
        const ParameterGroup* previous = entries.isEmpty() ? nullptr : &entries.last().group;
        e.group = ParameterGroupFor(reader.readInteger(e.section, Sort, -1), previous);
        e.readOnly = reader.readBool(e.section, ReadOnly, false);
        e.list = reader.readBool(e.section, List, true);
        e.cmd = reader.readString(e.section, Cmd);
        e.caption = reader.readString(e.section, Caption);
        e.value = reader.readString(e.section, Value);
        e.index = reader.readInteger(e.section, Index, 0);
        entries << e;
    }
    return entries;
}

ProfileRows ReadProfile(const IProfileReader& reader) {
    ProfileRows rows;
    rows.type = reader.readString(Main, Type, DefaultType);
    for (const ProfileEntry& e : ReadProfileEntries(reader)) {
        ProfileParameter row;
        row.key = e.section;
        row.readOnly = e.readOnly;
        if (e.list) {
            row.hasPickList = true;
            row.pickList = SplitCommaList(e.caption);
            row.readOnly = true;
            if (e.index < 0 || e.index >= row.pickList.size()) {
                rows.of(e.group) << row;
                rows.badIndex = e.index;
                break;
            }
            row.value = row.pickList[e.index];
        } else {
            row.value = e.caption;
        }
        rows.of(e.group) << row;
    }
    return rows;
}

void WriteProfileValues(TNewInifile& ini, const ParameterLookup& rowOf) {
    for (const ProfileEntry& e : ReadProfileEntries(NewIniProfileReader(ini))) {
        if (e.section.isEmpty() || e.readOnly)
            continue;
        const std::optional<ProfileParameter> row = rowOf(e.group, e.section);
        if (!row)
            continue; // a row the loading never reached: the file keeps its value
        if (e.list) {
            ini.WriteInteger(e.section, Index, int(CaptionIndex(row->pickList, row->value)));
        } else {
            ini.WriteString(e.section, Caption, row->value);
            ini.WriteString(e.section, Value, row->value);
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
