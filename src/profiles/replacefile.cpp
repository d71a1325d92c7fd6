#include "profiles/replacefile.h"

#include <QSaveFile>

bool replaceFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    // Unbuffered, and a short write repeated, so that a full disk fails the write that meets it
    // with the system's reason instead of a truncated file being committed.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        ok = n > 0;
        done += n;
    }
    if (ok && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
