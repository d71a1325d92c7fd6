#include "platform/desktopshell.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopShell::open(const QString& target) {
    const QUrl url =
        target.contains(QLatin1String("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}
