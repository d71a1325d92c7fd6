#include "convert/profileoptions.h"

#include "profiles/profilefile.h"
#include "profiles/profilereader.h"

#include <QFileInfo>

QList<ProfileOption> CurrentProfileOptions(const QString& profilePath, const ShownText& shown) {
    QList<ProfileOption> options;
    if (!QFileInfo::exists(profilePath))
        return options;
    for (const ProfileEntry& e : ReadProfileEntries(StandardProfileReader(profilePath))) {
        ProfileOption o;
        o.section = e.section;
        o.group = e.group;
        o.cmd = e.cmd;
        const std::optional<QString> text = shown ? shown(o.group, o.section) : std::nullopt;
        if (e.list) {
            const QStringList captions = SplitCommaList(e.caption);
            const QStringList values = SplitCommaList(e.value);
            for (int k = 0; text && k < captions.size(); ++k) {
                if (captions[k].compare(*text, Qt::CaseInsensitive) == 0) {
                    o.value = values.value(k);
                    break;
                }
            }
        } else if (e.readOnly) {
            o.value = e.value;
        } else {
            o.value = text.value_or(QString());
            o.typed = true;
        }
        options << o;
    }
    return options;
}

ShownText ProfileDefaults(const QString& profilePath) {
    return ShownTextOf(ReadProfile(StandardProfileReader(profilePath)));
}

ShownText ShownTextOf(const ProfileRows& rows) {
    return [rows](ParameterGroup group, const QString& key) -> std::optional<QString> {
        if (const std::optional<ProfileParameter> p = rows.find(group, key))
            return p->value;
        return std::nullopt;
    };
}
