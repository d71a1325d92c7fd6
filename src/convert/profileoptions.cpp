#include "profileoptions.h"

#include "profilefile.h"
#include "profilereader.h"
#include "standardini.h"

#include <QFileInfo>

QList<ProfileOption> CurrentProfileOptions(const QString& profilePath, const ShownText& shown) {
    QList<ProfileOption> options;
    if (!QFileInfo::exists(profilePath))
        return options;
    const StandardIni ini(profilePath);
    using namespace ProfileKeys;
    const int count = ini.readInteger(Main, Para, 0);
    for (int i = 0; i < count; ++i) {
        ProfileOption o;
        o.section = ini.readString(Main, QString::number(i));
        const ParameterGroup* previous = options.isEmpty() ? nullptr : &options.last().group;
        o.group = ParameterGroupFor(ini.readInteger(o.section, Sort, -1), previous);
        o.cmd = ini.readString(o.section, Cmd);
        const std::optional<QString> text = shown ? shown(o.group, o.section) : std::nullopt;
        if (ini.readBool(o.section, List, true)) {
            const QStringList captions = SplitCommaList(ini.readString(o.section, Caption));
            const QStringList values = SplitCommaList(ini.readString(o.section, Value));
            for (int k = 0; text && k < captions.size(); ++k) {
                if (captions[k].compare(*text, Qt::CaseInsensitive) == 0) {
                    o.value = values.value(k);
                    break;
                }
            }
        } else if (ini.readBool(o.section, ReadOnly, false)) {
            o.value = ini.readString(o.section, Value);
        } else {
            o.value = text.value_or(QString());
        }
        options << o;
    }
    return options;
}

ShownText ProfileDefaults(const QString& profilePath) {
    const ProfileRows rows = ReadProfile(StandardProfileReader(profilePath));
    return [rows](ParameterGroup group, const QString& key) -> std::optional<QString> {
        if (const std::optional<ProfileParameter> p = rows.find(group, key))
            return p->value;
        return std::nullopt;
    };
}
