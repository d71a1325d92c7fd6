#include "convert/intermediatefiles.h"

#include "core/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    return m_pipeElsewhere.isEmpty() ? subtitleBase() + QStringLiteral(".avi") : m_pipeElsewhere;
}

bool TIntermediateFiles::makePipe(QString* error) {
    endPipeWriting();
    if (!m_pipeElsewhere.isEmpty()) // the subtitle files stay: the encode pass reads them
        QFile::remove(m_pipeElsewhere);
    m_pipeElsewhere.clear();
    const auto make = [this, error](const QString& path) {
        QFile::remove(path);
        const QByteArray name = QFile::encodeName(path);
        if (::mkfifo(name.constData(), 0600) == 0) {
            m_pipeHold = ::open(name.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
            // A frame of whole pictures is half a megabyte: a pipe's own 64 KB would wake both
            // tools several times for each.
            if (m_pipeHold >= 0)
                ::fcntl(m_pipeHold, F_SETPIPE_SZ, 1 << 20);
            return true;
        }
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    };
    if (make(videoPath()))
        return true;
    const QString elsewhere =
        QDir::tempPath() + QStringLiteral("/ripvale-%1-").arg(QCoreApplication::applicationPid()) +
        QFileInfo(videoPath()).fileName();
    if (!make(elsewhere))
        return false;
    m_pipeElsewhere = elsewhere;
    return true;
}

void TIntermediateFiles::endPipeWriting() {
    if (m_pipeHold >= 0)
        ::close(m_pipeHold);
    m_pipeHold = -1;
}

QString TIntermediateFiles::probePath() const {
    return subtitleBase() + QStringLiteral(".m2v");
}

QString TIntermediateFiles::chaptersPath() const {
    return subtitleBase() + QStringLiteral(".chapters");
}

QString TIntermediateFiles::subtitleBase() const {
    return m_dir + (m_base.isEmpty() ? QStringLiteral("temp") : m_base);
}

void TIntermediateFiles::remove() const {
    if (m_base.isEmpty()) // nothing claimed: the names may be another run's
        return;
    for (const char* suffix : {".avi", ".idx", ".sub", ".m2v", ".chapters"})
        QFile::remove(subtitleBase() + QLatin1String(suffix));
    if (!m_pipeElsewhere.isEmpty())
        QFile::remove(m_pipeElsewhere);
}

void TIntermediateFiles::release() {
    endPipeWriting();
    remove();
    m_lock.reset(); // unlocks and removes the lock file
    m_base.clear();
    m_pipeElsewhere.clear();
}
