#include "dvd/tasktree.h"

#include <QSignalSpy>
#include <QTest>

namespace {

TTaskNode title(int n, double length) {
    TTaskNode t;
    t.IsTitle = true;
    t.Number = n;
    t.Caption = QString("Title%1 [MPEG2 720x480 NTSC 16:9]").arg(n, 2, 10, QChar('0'));
    t.OutputName = QString("Title%1").arg(n, 2, 10, QChar('0'));
    t.OrigEndSeconds = t.EndSeconds = t.OrigDuration = length;
    t.OrigStartText = t.StartText = "00:00:00";
    t.AudioTracks = {"English AC3 2ch", "Deutsch AC3 6ch"};
    t.AudioLanguages = {"en", "de"};
    t.Subtitles = {"None", "English"};
    t.AngleCount = 2;
    return t;
}

TTaskNode chapter(int t, int c) {
    TTaskNode n;
    n.Number = c;
    n.Caption = QString("Chapter%1").arg(c, 2, 10, QChar('0'));
    n.OutputName = QString("Title%1-Chapter%2").arg(t, 2, 10, QChar('0')).arg(c, 2, 10, QChar('0'));
    n.OrigEndSeconds = n.EndSeconds = 10.0 * c;
    n.OrigStartSeconds = n.StartSeconds = 10.0 * (c - 1);
    return n;
}

} // namespace

class TestTaskTree : public QObject {
    Q_OBJECT
private:
    QString m_volume;
    QString m_extension = ".avi";
    std::unique_ptr<TTaskTree> m_tree;

    // Two titles of 100 s and 300 s, each with two chapters; then a third of 300 s.
    void fill() {
        for (int t = 1; t <= 3; ++t) {
            const QModelIndex ti = m_tree->addTitle(title(t, t == 1 ? 100 : 300));
            for (int c = 1; c <= 2; ++c)
                m_tree->addChapter(ti, chapter(t, c));
        }
    }
    QModelIndex titleAt(int t) const { return m_tree->index(t, 0); }
    QModelIndex chapterAt(int t, int c) const { return m_tree->index(c, 0, titleAt(t)); }
    QList<bool> checks() const {
        QList<bool> result;
        for (const QModelIndex& n : m_tree->allNodes())
            result << m_tree->node(n)->Checked;
        return result;
    }

private slots:
    void init() {
        m_volume.clear();
        m_tree = std::make_unique<TTaskTree>([this] { return m_volume; },
                                             [this] { return m_extension; });
        fill();
    }

    void shape() {
        QCOMPARE(m_tree->rowCount(), 3);
        QCOMPARE(m_tree->rowCount(titleAt(0)), 2);
        QCOMPARE(m_tree->rowCount(chapterAt(0, 0)), 0);
        QCOMPARE(m_tree->columnCount(), 5);
        QCOMPARE(m_tree->nodeCount(), 9);
        QCOMPARE(m_tree->parent(chapterAt(1, 1)), titleAt(1));
        QCOMPARE(m_tree->listNode(chapterAt(1, 1)), m_tree->node(titleAt(1)));
        QCOMPARE(m_tree->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString("Output File"));
    }

    void outputColumn() {
        const QModelIndex c = chapterAt(0, 1).siblingAtColumn(TTaskTree::OutputColumn);
        QCOMPARE(m_tree->data(c, Qt::DisplayRole).toString(), QString("Title01-Chapter02.avi"));
        m_volume = "MYDISC";
        QCOMPARE(m_tree->data(c, Qt::DisplayRole).toString(),
                 QString("MYDISC-Title01-Chapter02.avi"));
        m_extension = ".mp4";
        QCOMPARE(
            m_tree->data(c.siblingAtColumn(TTaskTree::SpareColumn), Qt::DisplayRole).toString(),
            QString());
        QCOMPARE(m_tree->cellText(titleAt(0).siblingAtColumn(3)), QString("MYDISC-Title01.mp4"));
    }

    void trimMarks() {
        const QModelIndex t = titleAt(0);
        QCOMPARE(m_tree->cellText(t.siblingAtColumn(1)), QString("00:00:00"));
        m_tree->setSpan(t, "00:05:00", "01:40:00");
        QCOMPARE(m_tree->cellText(t.siblingAtColumn(1)), QString("[ 00:05:00"));
        QCOMPARE(m_tree->cellText(t.siblingAtColumn(2)), QString("01:40:00 ]"));
        m_tree->setSpan(t, "00:00:00", "00:01:40"); // back to the full length: no marks
        QCOMPARE(m_tree->cellText(t.siblingAtColumn(1)), QString("00:00:00"));
        QCOMPARE(m_tree->cellText(t.siblingAtColumn(2)), QString("00:01:40"));
    }

    void checkingTitleLeavesChaptersAlone() {
        QSignalSpy toggled(m_tree.get(), &TTaskTree::checkToggled);
        QVERIFY(m_tree->setData(titleAt(0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(toggled.count(), 1);
        QCOMPARE(m_tree->data(titleAt(0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(m_tree->data(chapterAt(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(m_tree->setData(titleAt(0), Qt::Checked, Qt::CheckStateRole)); // inverts again
        QCOMPARE(m_tree->node(titleAt(0))->Checked, false);
        QVERIFY(!m_tree->setData(titleAt(0).siblingAtColumn(2), Qt::Checked, Qt::CheckStateRole));
    }

    void checkCommands_data() {
        using C = TTaskTree::CheckCommand;
        QTest::addColumn<QList<int>>("commands");
        QTest::addColumn<QList<bool>>("expected");
        const bool T = true, F = false;
        // Title02 (the fourth node) is the longest and checked before each command.
        QTest::newRow("all chapters only")
            << QList<int>{int(C::AllChapters)} << QList<bool>{F, T, T, T, T, T, F, T, T};
        QTest::newRow("all titles only")
            << QList<int>{int(C::AllTitles)} << QList<bool>{T, F, F, T, F, F, T, F, F};
        QTest::newRow("titles then chapters")
            << QList<int>{int(C::AllTitles), int(C::AllChapters)} << QList<bool>(9, T);
        QTest::newRow("everything")
            << QList<int>{int(C::AllTitlesAndChapters)} << QList<bool>(9, T);
        QTest::newRow("uncheck clears the longest too")
            << QList<int>{int(C::AllTitlesAndChapters), int(C::UncheckAll)} << QList<bool>(9, F);
    }
    void checkCommands() {
        QFETCH(QList<int>, commands);
        QFETCH(QList<bool>, expected);
        m_tree->CheckLongestTitle();
        for (int command : commands)
            m_tree->applyCheckCommand(TTaskTree::CheckCommand(command));
        QCOMPARE(checks(), expected);
    }

    void longestTitleFirstAmongEqual() {
        m_tree->CheckLongestTitle();
        QCOMPARE(checks(),
                 (QList<bool>{false, false, false, true, false, false, false, false, false}));
        QCOMPARE(m_tree->checkedNodes(), QList<QModelIndex>{titleAt(1)});

        TTaskTree empty([] { return QString(); }, [] { return QString(); });
        empty.CheckLongestTitle(); // nothing to check, nothing happens
        QVERIFY(empty.checkedNodes().isEmpty());
    }

    void checkedNodesInTreeOrder() {
        m_tree->setChecked(chapterAt(2, 1), true);
        m_tree->setChecked(titleAt(0), true);
        m_tree->setChecked(chapterAt(0, 0), true);
        QCOMPARE(m_tree->checkedNodes(),
                 (QList<QModelIndex>{titleAt(0), chapterAt(0, 0), chapterAt(2, 1)}));
    }

    void choicesOnTitleOverwriteChapters() {
        m_tree->writeChoice(titleAt(0), TTaskTree::Choice::Audio, 1);
        for (const QModelIndex& n : {titleAt(0), chapterAt(0, 0), chapterAt(0, 1)}) {
            QCOMPARE(m_tree->node(n)->AudioIndex, 1);
            QCOMPARE(m_tree->node(n)->AudioLanguageIndex, 1);
        }
        QCOMPARE(m_tree->node(chapterAt(1, 0))->AudioIndex, 0); // other titles untouched

        m_tree->writeChoice(chapterAt(0, 1), TTaskTree::Choice::Audio, 0); // one chapter only
        QCOMPARE(m_tree->node(chapterAt(0, 1))->AudioIndex, 0);
        QCOMPARE(m_tree->node(chapterAt(0, 0))->AudioIndex, 1);
        QCOMPARE(m_tree->node(titleAt(0))->AudioIndex, 1);

        m_tree->writeChoice(titleAt(1), TTaskTree::Choice::Subtitle, 1);
        m_tree->writeChoice(titleAt(1), TTaskTree::Choice::Angle, 1);
        QCOMPARE(m_tree->node(chapterAt(1, 1))->SubtitleIndex, 1);
        QCOMPARE(m_tree->node(chapterAt(1, 1))->AngleIndex, 1);
        m_tree->writeChoice(QModelIndex(), TTaskTree::Choice::Angle, 1); // no node: nothing
    }
};

QTEST_GUILESS_MAIN(TestTaskTree)
#include "tst_tasktree.moc"
