#include "dvd/mendeddisc.h"

#include "core/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>

namespace {

const QString prefix = QStringLiteral("ripvale-mended-");

// Copies left by a program that was killed: each name carries its owner's process id.
void removeOrphans() {
    QDir temp(QDir::tempPath());
    for (const QString& name : temp.entryList({prefix + u'*'}, QDir::Dirs)) {
        bool ok = false;
        const qint64 owner = name.mid(prefix.size()).section(u'-', 0, 0).toLongLong(&ok);
        if (ok && owner > 0 && ::kill(pid_t(owner), 0) != 0 && errno == ESRCH)
            QDir(temp.filePath(name)).removeRecursively();
    }
}

} // namespace

TMendedDisc::TMendedDisc()
    : m_root(QDir::tempPath() + u'/' + prefix +
             QString::number(QCoreApplication::applicationPid()) + QStringLiteral("-XXXXXX")) {}

std::shared_ptr<TMendedDisc> TMendedDisc::Make(const QString& discFolder,
                                               const QStringList& damaged) {
    removeOrphans();
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
