#include "core/timetext.h"

#include <cmath>

#include <QTest>

class TestTimeText : public QObject {
    Q_OBJECT
private slots:
    void roundHalfEven_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<long long>("rounded");
        QTest::newRow("2.5 to even 2") << 2.5 << 2LL;
        QTest::newRow("3.5 to even 4") << 3.5 << 4LL;
        QTest::newRow("0.5 to 0") << 0.5 << 0LL;
        QTest::newRow("2.51 up") << 2.51 << 3LL;
        QTest::newRow("-2.5 to -2") << -2.5 << -2LL;
        QTest::newRow("59.6 up") << 59.6 << 60LL;
    }
    void roundHalfEven() {
        QFETCH(double, x);
        QFETCH(long long, rounded);
        QCOMPARE(RoundHalfEven(x), rounded);
    }

    void textToSeconds_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds");
        QTest::newRow("hh:mm:ss") << "01:02:03" << 3723.0;
        QTest::newRow("fraction") << "00:00:07.5" << 7.5;
        QTest::newRow("one-digit fields") << "1:2:3" << 3723.0;
        QTest::newRow("hundred hours") << "100:00:00" << 360000.0;
        QTest::newRow("seconds above 59 taken as they are") << "00:00:60" << 60.0;
        QTest::newRow("trailing dot") << "00:00:05." << 5.0;
        QTest::newRow("only one colon") << "12:34" << -1.0;
        QTest::newRow("no colon") << "abc" << -1.0;
        QTest::newRow("empty") << "" << -1.0;
        QTest::newRow("seconds begin with dot") << "00:00:.5" << -1.0;
        QTest::newRow("letters in hours") << "a1:00:00" << -1.0;
        QTest::newRow("fraction in minutes") << "00:1.5:00" << -1.0;
        QTest::newRow("empty seconds") << "00:00:" << -1.0;
        QTest::newRow("three colons") << "00:00:01:02" << -1.0;
        QTest::newRow("blank inside") << "00: 01:02" << -1.0;
    }
    void textToSeconds() {
        QFETCH(QString, text);
        QFETCH(double, seconds);
        QCOMPARE(TimeTextToSeconds(text), seconds);
    }

    void secondsToText_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("3723") << 3723.0 << "01:02:03";
        QTest::newRow("zero") << 0.0 << "00:00:00";
        QTest::newRow("59.4 rounds down") << 59.4 << "00:00:59";
        QTest::newRow("100 hours") << 360000.0 << "100:00:00";
        QTest::newRow("1:02:03.480") << 3723.48 << "01:02:03";
        QTest::newRow("half to even stays") << 2.5 << "00:00:02";
        QTest::newRow("half to even goes up") << 3.5 << "00:00:04";
        // A rounded-up value carries into the minutes and hours instead of reading 60 s.
        QTest::newRow("59.5 carries") << 59.5 << "00:01:00";
        QTest::newRow("59.6 carries") << 59.6 << "00:01:00";
        QTest::newRow("119.7 carries") << 119.7 << "00:02:00";
        QTest::newRow("3599.9 carries into hours") << 3599.9 << "01:00:00";
    }
    void secondsToText() {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(SecondsToTimeText(seconds), text);
    }

    void exactText_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 3723.0 << "01:02:03";
        QTest::newRow("half") << 1.5 << "00:00:01.5";
        QTest::newRow("milliseconds") << 3723.048 << "01:02:03.048";
        QTest::newRow("below a millisecond") << 59.9996 << "00:01:00";
    }
    void exactText() {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(SecondsToExactTimeText(seconds), text);
        QCOMPARE(TimeTextToSeconds(text), std::round(seconds * 1000) / 1000);
    }

    void wholeSecondsRoundTrip() {
        for (int s : {0, 1, 59, 60, 61, 3599, 3600, 86399, 359999, 360001})
            QCOMPARE(TimeTextToSeconds(SecondsToTimeText(s)), double(s));
    }
};

QTEST_APPLESS_MAIN(TestTimeText)
#include "tst_timetext.moc"
