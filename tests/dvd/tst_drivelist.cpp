#include "dvd/drivelist.h"
#include "platform/linuxdrives.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<OpticalDrive>)

namespace {
OpticalDrive drive(const QString& device, const QString& mount, const QString& label, bool disc) {
    return {device, mount, label, disc};
}
} // namespace

class TestDriveList : public QObject {
    Q_OBJECT
private slots:
    void fill_data() {
        QTest::addColumn<QList<OpticalDrive>>("drives");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("preselect");
        QTest::addColumn<QStringList>("volumes");
        const auto a = drive("/dev/sr0", "/media/a", "MY_MOVIE", true);
        const auto b = drive("/dev/sr1", "/media/b", "OTHER", true);
        const auto unlabelled = drive("/dev/sr1", "/media/b", "", true);
        const auto empty = drive("/dev/sr2", "", "", false);
        const auto unmounted = drive("/dev/sr3", "", "DISC", true);
        const auto brackets = drive("/dev/sr0", "/media/x [1]", "A[B]C", true);
        QTest::newRow("two labelled: the last is preselected")
            << QList<OpticalDrive>{a, b} << QStringList{"/media/a/ [MY_MOVIE]", "/media/b/ [OTHER]"}
            << 1 << QStringList{"MY_MOVIE", "OTHER"};
        QTest::newRow("labelled then unlabelled: the labelled one")
            << QList<OpticalDrive>{a, unlabelled}
            << QStringList{"/media/a/ [MY_MOVIE]", "/media/b/ [No Disc]"} << 0
            << QStringList{"MY_MOVIE", "No Disc"};
        QTest::newRow("empty drive not listed")
            << QList<OpticalDrive>{empty, a} << QStringList{"/media/a/ [MY_MOVIE]"} << 0
            << QStringList{"MY_MOVIE"};
        QTest::newRow("no labels: the first")
            << QList<OpticalDrive>{unlabelled, unlabelled}
            << QStringList{"/media/b/ [No Disc]", "/media/b/ [No Disc]"} << 0
            << QStringList{"No Disc", "No Disc"};
        QTest::newRow("not mounted shows the device")
            << QList<OpticalDrive>{unmounted} << QStringList{"/dev/sr3 [DISC]"} << 0
            << QStringList{"DISC"};
        QTest::newRow("brackets in label and folder stay data")
            << QList<OpticalDrive>{brackets} << QStringList{"/media/x [1]/ [A[B]C]"} << 0
            << QStringList{"A[B]C"};
        QTest::newRow("nothing") << QList<OpticalDrive>{empty} << QStringList{} << -1
                                 << QStringList{};
    }
    void fill() {
        QFETCH(QList<OpticalDrive>, drives);
        QFETCH(QStringList, entries);
        QFETCH(int, preselect);
        QFETCH(QStringList, volumes);
        const DriveList list = FillDriveList(drives);
        QStringList texts, names;
        for (const DriveEntry& e : list.entries) {
            texts << e.text;
            names << e.volumeName;
        }
        QCOMPARE(texts, entries);
        QCOMPARE(list.preselect, preselect);
        QCOMPARE(names, volumes);
    }

    void mountPoints() {
        const QByteArray info =
            "22 1 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
            "98 29 11:0 / /media/cdrom0 ro,nosuid,nodev shared:50 - udf /dev/sr0 ro\n"
            "99 29 11:1 / /media/My\\040Disc ro - iso9660 /dev/sr1 ro,uid=1000\n"
            "garbage line\n";
        QCOMPARE(LinuxDriveSource::mountPointIn(info, "/dev/sr0"), QString("/media/cdrom0"));
        QCOMPARE(LinuxDriveSource::mountPointIn(info, "/dev/sr1"), QString("/media/My Disc"));
        QCOMPARE(LinuxDriveSource::mountPointIn(info, "/dev/sr2"), QString());
    }
};

QTEST_GUILESS_MAIN(TestDriveList)
#include "tst_drivelist.moc"
