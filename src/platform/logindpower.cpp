#include "platform/logindpower.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

namespace {

QDBusInterface logindManager() {
    return QDBusInterface(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QDBusConnection::systemBus());
}

} // namespace

bool LogindPower::inhibitSleep() {
    if (m_lock.isValid())
        return true;
    if (!QDBusConnection::systemBus().isConnected())
        return false;
    QDBusInterface manager = logindManager();
    if (!manager.isValid())
        return false;
    const QDBusReply<QDBusUnixFileDescriptor> reply = manager.call(
        QStringLiteral("Inhibit"), QStringLiteral("sleep"), QStringLiteral("Kelvo Ripvale"),
        QStringLiteral("Converting a DVD must not be interrupted by sleep"),
        QStringLiteral("block"));
    if (!reply.isValid())
        return false;
    m_lock = reply.value();
    return m_lock.isValid();
}

void LogindPower::powerOff() {
    if (!QDBusConnection::systemBus().isConnected())
        return;
    QDBusInterface manager = logindManager();
    if (manager.isValid())
        manager.call(QStringLiteral("PowerOff"), false); // interactive = false
}
