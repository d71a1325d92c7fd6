#include "dvd/mendeddisc.h"

#include "core/paths.h"

#include <QDir>
#include <QFile>

TMendedDisc::TMendedDisc() : m_root(QDir::tempPath() + QStringLiteral("/ripvale-mended-XXXXXX")) {}

std::shared_ptr<TMendedDisc> TMendedDisc::Make(const QString& discFolder,
                                               const QStringList& damaged) {
    std::shared_ptr<TMendedDisc> mended(new TMendedDisc);
    if (!mended->m_root.isValid() || !QDir().mkpath(mended->folder()))
        return nullptr;
    const QDir disc(discFolder);
    for (const QString& name : disc.entryList(QDir::Files)) {
        QString target = disc.absoluteFilePath(name);
        if (damaged.contains(name, Qt::CaseInsensitive)) {
            const QString backup =
                EntryIgnoringCase(discFolder, NameWithoutExtension(name) + QStringLiteral(".BUP"));
            if (backup.isEmpty())
                return nullptr;
            target = disc.absoluteFilePath(backup);
        }
        if (!QFile::link(target, mended->folder() + name))
            return nullptr;
    }
    return mended;
}
