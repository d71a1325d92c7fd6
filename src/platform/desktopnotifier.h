#pragma once

#include "platform/notifier.h"

#include <QDBusConnection>

// The freedesktop notification service and the launcher entry's progress (the Unity
// LauncherEntry signal, which KDE's and GNOME's docks read), over the session bus. Neither call
// waits for an answer; without a session bus nothing happens.
class DesktopNotifier : public INotifier {
public:
    static constexpr char DesktopId[] = "org.kelvo_ripvale.Ripvale";

    explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus());

    void notify(const QString& summary, const QString& body) override;
    void setProgress(double fraction, bool visible) override;

private:
    QDBusConnection m_bus;
};
