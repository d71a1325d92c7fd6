#include "dvd/tasktree.h"
#include "support/fakes.h"
#include "tabledata.h"
#include "trim/editdvdvolumeform.h"
#include "trim/edittimeform.h"
#include "trim/trimcontroller.h"
#include "trimmeditem.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class TestTrimController : public QObject {
    Q_OBJECT
private:
    QWidget m_main;
    TDVDInformation m_dvd;
    FakePrompts m_prompts;
    std::unique_ptr<TTaskTree> m_tree;
    std::unique_ptr<TEditTimeForm> m_timeForm;
    std::unique_ptr<TEditDVDVolumeForm> m_volumeForm;
    std::unique_ptr<TTrimController> m_trim;
    QModelIndex m_title;
    QModelIndex m_focused;

private slots:
    void init() {
        m_dvd.VolumeName = "MOVIE";
        m_prompts = {};
        m_tree = std::make_unique<TTaskTree>([this] { return m_dvd.VolumeName; },
                                             [] { return QStringLiteral(".mp4"); });
        TTaskNode title = TrimmedItem(0, 600, 0, 600);
        title.OutputName = "Title01";
        m_title = m_tree->addTitle(title);
        m_focused = {};
        m_timeForm =
            std::make_unique<TEditTimeForm>(&m_main, *m_tree, [this] { return m_focused; });
        m_volumeForm = std::make_unique<TEditDVDVolumeForm>(&m_main);
        m_trim = std::make_unique<TTrimController>(
            *m_tree, [this] { return m_focused; }, m_dvd, m_prompts, *m_timeForm, *m_volumeForm);
    }
    void cleanup() {
        m_trim.reset();
        m_timeForm.reset();
        m_volumeForm.reset();
        m_tree.reset();
    }

    void segmentRefuses_data() {
        QTest::addColumn<bool>("focused");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("nothing focused, though the list has items")
            << false << 0.0 << 60.0 << "Please select a Title/Chapter firstly."
            << "No Title/Chapter selected";
        QTest::newRow("start equal to the end")
            << true << 30.0 << 30.0 << "The Start Time is equal to the End Time."
            << "Time can not be edited";
        QTest::newRow("end rounds to 0") << true << 0.0 << 0.4 << "Max <= Min"
                                         << "Kelvo Ripvale";
        QTest::newRow("start rounds to the end") << true << 10.2 << 10.4 << "Min >= Max"
                                                 << "Kelvo Ripvale";
    }
    void segmentRefuses() {
        QFETCH(double, start);
        QFETCH(double, end);
        const QModelIndex chapter =
            m_tree->addChapter(m_title, TrimmedItem(start, end, start, end));
        if (cell<bool>("focused"))
            m_focused = chapter;
        m_trim->sbtnSegmentClick();
        QCOMPARE(m_prompts.notices.size(), 1);
        QCOMPARE(m_prompts.notices.first().text, cell<QString>("text"));
        QCOMPARE(m_prompts.notices.first().caption, cell<QString>("caption"));
        QVERIFY(!m_timeForm->isVisible());
    }

    void segmentOpensTheEditor() {
        // An item above the next one: the slider's Min must make way for the next Max.
        m_focused = m_tree->addChapter(m_title, TrimmedItem(300, 400, 300, 400));
        m_trim->sbtnSegmentClick();
        m_timeForm->btnCancel->click();
        m_focused = m_tree->addChapter(m_title, TrimmedItem(100, 200, 120, 180));
        m_trim->sbtnSegmentClick();
        QVERIFY(m_prompts.notices.isEmpty());
        QVERIFY(m_timeForm->isVisible());
        const TmkRangeSlider& slider = *m_timeForm->tkbTime;
        QCOMPARE(
            QList<int>({slider.Min(), slider.Max(), slider.MinPosition(), slider.MaxPosition()}),
            QList<int>({100, 200, 120, 180}));
        QCOMPARE(m_timeForm->edtStartTime->text(), QString("00:02:00"));
        QCOMPARE(m_timeForm->edtEndTime->text(), QString("00:03:00"));
    }

    void volumeEditor_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("volumeName");
        QTest::addColumn<QString>("outputFile");
        QTest::newRow("renamed") << "NEW DISC" << true << "NEW DISC"
                                 << "NEW DISC-Title01.mp4";
        QTest::newRow("emptied: no prefix, no dash") << "" << true << ""
                                                     << "Title01.mp4";
        QTest::newRow("blanks kept as typed") << " X " << true << " X "
                                              << " X -Title01.mp4";
        QTest::newRow("cancelled") << "OTHER" << false << "MOVIE"
                                   << "MOVIE-Title01.mp4";
    }
    void volumeEditor() {
        QFETCH(bool, ok);
        m_trim->pmiDVDVolumeClick();
        QVERIFY(m_volumeForm->isVisible());
        QCOMPARE(m_volumeForm->edtDVDVolume->text(), QString("MOVIE"));
        QSignalSpy repaints(m_tree.get(), &TTaskTree::dataChanged);
        m_volumeForm->edtDVDVolume->setText(cell<QString>("typed"));
        (ok ? m_volumeForm->btnOK : m_volumeForm->btnCancel)->click();
        QVERIFY(!m_volumeForm->isVisible());
        QCOMPARE(m_dvd.VolumeName, cell<QString>("volumeName"));
        QCOMPARE(m_tree->cellText(m_title.siblingAtColumn(TTaskTree::OutputColumn)),
                 cell<QString>("outputFile"));
        QCOMPARE(!repaints.isEmpty(), ok); // the list shows the new names at once
    }
};

QTEST_MAIN(TestTrimController)
#include "tst_trimcontroller.moc"
