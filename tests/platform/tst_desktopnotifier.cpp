// The notifier against a real D-Bus daemon of the test's own, with a notification service and a
// dock listening on it as a desktop's would.
#include "platform/desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

class Desktop : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList shown;
    QList<QVariantMap> progress;

public slots:
    uint Notify(const QString& app, uint, const QString& icon, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap& hints, int) {
        shown << QStringList{app, icon, summary, body, hints.value("desktop-entry").toString()}
                     .join(" | ");
        return uint(shown.size());
    }
    void launcherUpdate(const QString& uri, const QVariantMap& properties) {
        QVariantMap seen = properties;
        seen["uri"] = uri;
        progress << seen;
    }
};

class TestDesktopNotifier : public QObject {
    Q_OBJECT
    QProcess m_daemon;
    QString m_address;

private slots:
    void initTestCase() {
        m_daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(m_daemon.waitForStarted());
        QVERIFY(m_daemon.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());
    }
    void cleanupTestCase() {
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    void notificationsAndProgressReachTheDesktop() {
        QDBusConnection desktopBus = QDBusConnection::connectToBus(m_address, "desktop");
        QVERIFY(desktopBus.isConnected());
        Desktop desktop;
        QVERIFY(desktopBus.registerObject("/org/freedesktop/Notifications", &desktop,
                                          QDBusConnection::ExportAllSlots));
        QVERIFY(desktopBus.registerService("org.freedesktop.Notifications"));
        QVERIFY(desktopBus.connect(QString(), "/org/kelvo_ripvale/Ripvale",
                                   "com.canonical.Unity.LauncherEntry", "Update", &desktop,
                                   SLOT(launcherUpdate(QString, QVariantMap))));

        DesktopNotifier notifier(QDBusConnection::connectToBus(m_address, "program"));
        notifier.setProgress(0.4, true);
        notifier.setProgress(1.5, false);
        notifier.notify("The conversion is canceled.", "");
        QTRY_COMPARE(desktop.shown.size(), 1);
        QCOMPARE(desktop.shown[0], QString("Kelvo Ripvale | ripvale | The conversion is "
                                           "canceled. |  | org.kelvo_ripvale.Ripvale"));
        QTRY_COMPARE(desktop.progress.size(), 2);
        QCOMPARE(desktop.progress[0]["uri"].toString(),
                 QString("application://org.kelvo_ripvale.Ripvale.desktop"));
        QCOMPARE(desktop.progress[0]["progress"].toDouble(), 0.4);
        QCOMPARE(desktop.progress[0]["progress-visible"].toBool(), true);
        QCOMPARE(desktop.progress[1]["progress"].toDouble(), 1.0); // never past the whole
        QCOMPARE(desktop.progress[1]["progress-visible"].toBool(), false);
        QDBusConnection::disconnectFromBus("desktop");
        QDBusConnection::disconnectFromBus("program");
    }

    // A desktop without the service, or no bus at all: nothing happens, nothing waits.
    void noServiceNoBus() {
        DesktopNotifier withoutService(QDBusConnection::connectToBus(m_address, "lonely"));
        withoutService.notify("a", "b");
        withoutService.setProgress(0.5, true);
        DesktopNotifier withoutBus(QDBusConnection::connectToBus("unix:path=/nonexistent", "none"));
        withoutBus.notify("a", "b");
        withoutBus.setProgress(0.5, true);
        QDBusConnection::disconnectFromBus("lonely");
        QDBusConnection::disconnectFromBus("none");
    }
};

QTEST_GUILESS_MAIN(TestDesktopNotifier)
#include "tst_desktopnotifier.moc"
