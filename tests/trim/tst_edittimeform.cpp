#include "dvd/tasktree.h"
#include "tabledata.h"
#include "trim/edittimeform.h"
#include "trimmeditem.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

class TestEditTimeForm : public QObject {
    Q_OBJECT
private:
    QWidget m_main;
    std::unique_ptr<TTaskTree> m_tree;
    std::unique_ptr<TEditTimeForm> m_form;
    QModelIndex m_title;
    QModelIndex m_focused;

    const TTaskNode& node() { return *m_tree->node(m_focused); }
    TmkRangeSlider& slider() { return *m_form->tkbTime; }
    QList<int> sliderValues() {
        return {slider().Min(), slider().Max(), slider().MinPosition(), slider().MaxPosition()};
    }
    QStringList texts() {
        return {m_form->edtStartTime->text(), m_form->edtEndTime->text(),
                m_form->labLength->text()};
    }
    void type(QLineEdit* edit, const QString& text) {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    // A chapter running 0..60 s, trimmed to start..end, opened in the editor.
    void open(double start = 0, double end = 60) {
        m_focused = m_tree->addChapter(m_title, TrimmedItem(0, 60, start, end));
        m_form->show();
    }

private slots:
    void init() {
        m_tree = std::make_unique<TTaskTree>([] { return QString(); }, [] { return QString(); });
        m_title = m_tree->addTitle(TrimmedItem(0, 300, 0, 300));
        m_form = std::make_unique<TEditTimeForm>(&m_main, *m_tree, [this] { return m_focused; });
    }
    void cleanup() {
        m_form.reset();
        m_tree.reset();
    }

    void openingShowsTheTrimmedSpan() {
        open(10, 50);
        QCOMPARE(texts(), QStringList({"00:00:10", "00:00:50", "Length:00:00:40"}));
        QCOMPARE(QStringList({m_form->labStartTime->text(), m_form->labEndTime->text()}),
                 QStringList({"00:00:00", "00:01:00"}));
        QCOMPARE(sliderValues(), QList<int>({0, 60, 10, 50}));

        // An item wholly above the last one.
        m_form->close();
        m_focused = m_tree->addChapter(m_title, TrimmedItem(100, 200, 120, 180));
        m_form->show();
        QVERIFY(m_form->isVisible());
        QCOMPARE(sliderValues(), QList<int>({100, 200, 120, 180}));
        QCOMPARE(texts(), QStringList({"00:02:00", "00:03:00", "Length:00:01:00"}));
    }

    void typing_data() {
        QTest::addColumn<bool>("intoEnd");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QList<int>>("positions");
        // The item runs 0..60 s, untrimmed.
        QTest::newRow("start") << false << "00:00:05"
                               << "Length:00:00:55" << QList{5, 60};
        QTest::newRow("end") << true << "0:0:30"
                             << "Length:00:00:30" << QList{0, 30};
        QTest::newRow("start equal to the end") << false << "00:01:00"
                                                << "Invalid Start Time." << QList{0, 60};
        QTest::newRow("end equal to the start") << true << "00:00:00"
                                                << "Invalid End Time" << QList{0, 60};
        QTest::newRow("end past the item") << true << "00:01:01"
                                           << "Invalid End Time" << QList{0, 60};
        QTest::newRow("letters") << false << "abc"
                                 << "Invalid Start Time." << QList{0, 60};
        QTest::newRow("one colon") << true << "00:30"
                                   << "Invalid End Time" << QList{0, 60};
    }
    void typing() {
        open();
        QFETCH(QString, text);
        QLineEdit* edit = cell<bool>("intoEnd") ? m_form->edtEndTime : m_form->edtStartTime;
        type(edit, text);
        QCOMPARE(m_form->labLength->text(), cell<QString>("length"));
        QCOMPARE(sliderValues().mid(2), cell<QList<int>>("positions"));
        QCOMPARE(edit->text(), text); // kept as typed
    }

    void editsFollowTheSlider_data() {
        QTest::addColumn<QList<int>>("span");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("Right") << QList{10, 50} << "Right"
                               << QStringList{"00:00:11", "00:00:50", "Length:00:00:39"};
        QTest::newRow("start button")
            << QList{10, 50} << "start" << QStringList{"00:00:09", "00:00:50", "Length:00:00:41"};
        QTest::newRow("end button")
            << QList{10, 50} << "end" << QStringList{"00:00:10", "00:00:51", "Length:00:00:41"};
        QTest::newRow("start button at the item's start")
            << QList{0, 50} << "start" << QStringList{"00:00:00", "00:00:50", "Length:00:00:50"};
        QTest::newRow("end button at the item's end")
            << QList{10, 60} << "end" << QStringList{"00:00:10", "00:01:00", "Length:00:00:50"};
    }
    void editsFollowTheSlider() {
        const QList<int> span = cell<QList<int>>("span");
        open(span[0], span[1]);
        QFETCH(QString, action);
        if (action == "Right")
            QTest::keyClick(&slider(), Qt::Key_Right);
        else
            (action == "start" ? m_form->sbtnStartTime : m_form->sbtnEndTime)->click();
        QCOMPARE(texts(), cell<QStringList>("texts"));
    }

    void typedTextGivesWayToTheNextSliderMove() {
        open();
        type(m_form->edtStartTime, "00:00:05");
        type(m_form->edtStartTime, "00:00:05.2"); // the same second: the slider says nothing
        QTest::keyClick(&slider(), Qt::Key_Right);
        QCOMPARE(m_form->edtStartTime->text(), QString("00:00:06"));
    }

    void okStoresTheSpan_data() {
        QTest::addColumn<QString>("startText"); // null: not typed
        QTest::addColumn<QString>("endText");
        QTest::addColumn<double>("startSeconds");
        QTest::addColumn<double>("endSeconds");
        QTest::addColumn<QString>("startCell");
        QTest::newRow("whole seconds") << "00:00:05"
                                       << "00:00:50" << 5.0 << 50.0 << "[ 00:00:05";
        QTest::newRow("fractions") << "00:00:05.5"
                                   << "00:00:50.25" << 5.5 << 50.25 << "[ 00:00:05.5";
        QTest::newRow("text as typed") << "0:0:7"
                                       << "0:0:59" << 7.0 << 59.0 << "[ 0:0:7";
        QTest::newRow("untouched") << QString() << QString() << 0.0 << 60.0 << "00:00:00";
    }
    void okStoresTheSpan() {
        open();
        QFETCH(QString, startText);
        QFETCH(QString, endText);
        if (startText.isNull()) {
            startText = "00:00:00";
            endText = "00:01:00";
        } else {
            type(m_form->edtStartTime, startText);
            type(m_form->edtEndTime, endText);
        }
        m_form->btnOK->click();
        QVERIFY(!m_form->isVisible());
        QCOMPARE(QStringList({node().StartText, node().EndText}),
                 QStringList({startText, endText}));
        QCOMPARE(node().StartSeconds, cell<double>("startSeconds"));
        QCOMPARE(node().EndSeconds, cell<double>("endSeconds"));
        QCOMPARE(m_tree->cellText(m_focused.siblingAtColumn(TTaskTree::StartColumn)),
                 cell<QString>("startCell"));
    }

    void okRefusesWhatCannotBeStored_data() {
        QTest::addColumn<QString>("startText"); // null: not typed
        QTest::addColumn<QString>("endText");
        QTest::addColumn<int>("moveEndTo"); // -1: the slider is left alone
        QTest::addColumn<QString>("message");
        // The item is trimmed to 10..50.
        QTest::newRow("start not a time") << "abc" << QString() << -1 << "Invalid Start Time.";
        QTest::newRow("start at the end") << "00:00:50" << QString() << -1 << "Invalid Start Time.";
        QTest::newRow("end at the start") << QString() << "00:00:10" << -1 << "Invalid End Time";
        QTest::newRow("thumbs brought together")
            << QString() << QString() << 10 << "Invalid End Time";
    }
    void okRefusesWhatCannotBeStored() {
        open(10, 50);
        QFETCH(QString, startText);
        QFETCH(QString, endText);
        if (!startText.isNull())
            type(m_form->edtStartTime, startText);
        if (!endText.isNull())
            type(m_form->edtEndTime, endText);
        if (cell<int>("moveEndTo") >= 0)
            slider().setMaxPosition(cell<int>("moveEndTo"));
        m_form->btnOK->click();
        QVERIFY(m_form->isVisible());
        QCOMPARE(m_form->labLength->text(), cell<QString>("message"));
        QCOMPARE(QList<double>({node().StartSeconds, node().EndSeconds}), QList<double>({10, 50}));
        QCOMPARE(node().StartText, QString("00:00:10"));
    }

    void cancelLeavesTheNodeUnchanged() {
        open(10, 50);
        type(m_form->edtStartTime, "00:00:20");
        m_form->btnCancel->click();
        QVERIFY(!m_form->isVisible());
        QCOMPARE(node().StartSeconds, 10.0);
        QCOMPARE(node().StartText, QString("00:00:10"));
    }
};

QTEST_MAIN(TestEditTimeForm)
#include "tst_edittimeform.moc"
