#include "platform/desktopnotifier.h"

#include <QDBusMessage>

#include <QVariantMap>
#include <algorithm>

DesktopNotifier::DesktopNotifier(QDBusConnection bus) : m_bus(std::move(bus)) {}

void DesktopNotifier::notify(const QString& summary, const QString& body) {
    if (!m_bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QString::fromLatin1(DesktopId)}};
    call << QStringLiteral("Kelvo Ripvale") << uint(0) << QStringLiteral("ripvale") << summary
         << body << QStringList() << hints << int(-1);
    m_bus.send(call); // no answer is awaited: a desktop without the service has none
}

void DesktopNotifier::setProgress(double fraction, bool visible) {
    if (!m_bus.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/kelvo_ripvale/Ripvale"),
        QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    const QVariantMap properties{{QStringLiteral("progress"), std::clamp(fraction, 0.0, 1.0)},
                                 {QStringLiteral("progress-visible"), visible}};
    signal << QStringLiteral("application://%1.desktop").arg(QString::fromLatin1(DesktopId))
           << properties;
    m_bus.send(signal);
}
