#include "convert/intermediatefiles.h"

#include "core/paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>

TIntermediateFiles::TIntermediateFiles() = default;

TIntermediateFiles::~TIntermediateFiles() {
    release();
}

void TIntermediateFiles::settle(const QString& workDir) {
    const QString dir = WithTrailingSeparator(workDir);
    if (dir == m_dir && !m_base.isEmpty())
        return;
    release();
    m_dir = dir;
    const auto claim = [this](const QString& base) {
        auto lock = std::make_unique<QLockFile>(m_dir + base + QStringLiteral(".avi.lock"));
        lock->setStaleLockTime(0); // only a live process holds a claim
        if (!lock->tryLock(0))
            return false;
        m_lock = std::move(lock);
        m_base = base;
        return true;
    };
    // A folder where no lock can be made at all keeps the plain name: the tools fail there too.
    if (!claim(QStringLiteral("temp")) &&
        !claim(QStringLiteral("temp-%1").arg(QCoreApplication::applicationPid())))
        m_base = QStringLiteral("temp");
}

QString TIntermediateFiles::videoPath() const {
    return subtitleBase() + QStringLiteral(".avi");
}

QString TIntermediateFiles::subtitleBase() const {
    return m_dir + (m_base.isEmpty() ? QStringLiteral("temp") : m_base);
}

void TIntermediateFiles::remove() const {
    if (m_base.isEmpty()) // nothing claimed: the names may be another run's
        return;
    for (const char* suffix : {".avi", ".idx", ".sub"})
        QFile::remove(subtitleBase() + QLatin1String(suffix));
}

void TIntermediateFiles::release() {
    remove();
    m_lock.reset(); // unlocks and removes the lock file
    m_base.clear();
}
