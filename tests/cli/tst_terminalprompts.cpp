#include "cli/terminalprompts.h"

#include <QTest>

#include <cstdio>

class TestTerminalPrompts : public QObject {
    Q_OBJECT
private slots:
    void ask_data();
    void ask();
};

void TestTerminalPrompts::ask_data() {
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<bool>("interactive");
    QTest::addColumn<bool>("answer");
    QTest::newRow("yes") << QByteArray("y\n") << true << true;
    QTest::newRow("Yes after a wrong answer") << QByteArray("maybe\n  YES \n") << true << true;
    QTest::newRow("no") << QByteArray("n\n") << true << false;
    QTest::newRow("end of input") << QByteArray("") << true << false;
    QTest::newRow("no terminal never reads") << QByteArray("y\n") << false << false;
}

void TestTerminalPrompts::ask() {
    QFETCH(QByteArray, typed);
    QFETCH(bool, interactive);
    QFETCH(bool, answer);
    FILE* input = fmemopen(typed.data(), size_t(typed.size()), "r");
    if (typed.isEmpty())
        input = fopen("/dev/null", "r");
    QVERIFY(input);
    TerminalPrompts prompts(input, interactive);
    QCOMPARE(prompts.ask("Overwrite?", "Output File Exists"), answer);
    QCOMPARE(prompts.chooseFolder("c", "/"), std::nullopt);
    std::fclose(input);
}

QTEST_APPLESS_MAIN(TestTerminalPrompts)
#include "tst_terminalprompts.moc"
