#include "app/artwork.h"
#include "core/settings.h"
#include "dvd/opendvdform.h"
#include "dvd/tasklistcontroller.h"
#include "dvd/tasklistview.h"
#include "support/fakes.h"
#include "support/testfiles.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

TTaskNode title(int n) {
    TTaskNode t;
    t.IsTitle = true;
    t.Number = n;
    t.Caption = QString("Title0%1").arg(n);
    t.AudioTracks = {"English AC3 2ch", "Deutsch AC3 6ch"};
    t.AudioLanguages = {"en", "de"};
    t.Subtitles = {"None", "English"};
    t.AngleCount = n; // title 1 has one angle, title 2 two
    return t;
}

} // namespace

class TestTaskListUi : public QObject {
    Q_OBJECT
private:
    QWidget m_window;
    TTaskListView* m_view = nullptr;
    QComboBox *m_audio = nullptr, *m_audioLanguage = nullptr, *m_sub = nullptr, *m_angle = nullptr;
    QToolButton *m_openDvd = nullptr, *m_openDir = nullptr;
    TSettings m_settings;
    QPushButton *m_browse = nullptr, *m_open = nullptr;
    FakePrompts m_prompts;
    FakeShell m_shell;
    std::unique_ptr<TTaskTree> m_tree;
    std::unique_ptr<TTaskListController> m_list;
    QStringList m_log;

    QModelIndex titleAt(int t) { return m_tree->index(t, 0); }
    QModelIndex chapterAt(int t, int c) { return m_tree->index(c, 0, titleAt(t)); }

private slots:
    void init() {
        m_prompts = {};
        m_shell = {};
        m_log.clear();
        m_view = new TTaskListView(Artwork::headerTile(), &m_window);
        m_audio = new QComboBox(&m_window);
        m_audioLanguage = new QComboBox(&m_window);
        m_sub = new QComboBox(&m_window);
        m_angle = new QComboBox(&m_window);
        m_openDvd = new QToolButton(&m_window);
        m_openDir = new QToolButton(&m_window);
        m_browse = new QPushButton(&m_window);
        m_open = new QPushButton(&m_window);
        m_tree = std::make_unique<TTaskTree>([] { return QString(); }, [] { return QString(); });
        m_list = std::make_unique<TTaskListController>(
            *m_tree,
            TTaskListController::Widgets{.ltvTask = m_view,
                                         .cmbAudio = m_audio,
                                         .cmbAudioLanguage = m_audioLanguage,
                                         .cmbSub = m_sub,
                                         .cmbAngle = m_angle,
                                         .sbtnOpenDVD = m_openDvd,
                                         .sbtnOpenDir = m_openDir,
                                         .bbtnBrowser = m_browse,
                                         .bbtnOpen = m_open},
            m_settings, m_prompts, m_shell);
        TTaskListController* l = m_list.get();
        connect(l, &TTaskListController::driveDialogRequested, this, [this] { m_log << "drives"; });
        connect(l, &TTaskListController::folderChosen, this,
                [this](const QString& f) { m_log << "open " + f; });
        connect(l, &TTaskListController::previewPlayRequested, this, [this] { m_log << "play"; });
        connect(l, &TTaskListController::previewStopRequested, this, [this] { m_log << "stop"; });
        for (int t = 1; t <= 2; ++t) {
            const QModelIndex ti = m_tree->addTitle(title(t));
            TTaskNode c;
            c.Caption = "Chapter01";
            m_tree->addChapter(ti, c);
            m_tree->addChapter(ti, c);
        }
        m_window.show();
    }
    void cleanup() {
        m_list.reset();
        qDeleteAll(m_window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    }

    void focusFillsCombosFromTitleWithOwnChoices() {
        m_tree->writeChoice(titleAt(1), TTaskTree::Choice::Audio, 1);
        m_tree->writeChoice(chapterAt(1, 0), TTaskTree::Choice::Subtitle, 1);
        m_view->setCurrentIndex(chapterAt(1, 0));
        QCOMPARE(m_audio->count(), 2);
        QCOMPARE(m_audio->currentIndex(), 1);
        QCOMPARE(m_audioLanguage->itemText(1), QString("de"));
        QCOMPARE(m_audioLanguage->currentIndex(), -1);
        QCOMPARE(m_sub->currentText(), QString("English"));
        QCOMPARE(m_angle->count(), 2);
        QCOMPARE(m_angle->itemText(1), QString("2"));
        m_view->setCurrentIndex(titleAt(0));
        QCOMPARE(m_angle->count(), 1);
        QCOMPARE(m_sub->currentIndex(), 0);
    }

    void comboChoiceWritesBack() {
        m_view->setCurrentIndex(titleAt(0));
        m_list->cmbAudioSelect(1);
        QCOMPARE(m_tree->node(chapterAt(0, 1))->AudioIndex, 1);
        m_view->setCurrentIndex(chapterAt(0, 0));
        m_list->cmbSubSelect(1);
        QCOMPARE(m_tree->node(chapterAt(0, 0))->SubtitleIndex, 1);
        QCOMPARE(m_tree->node(chapterAt(0, 1))->SubtitleIndex, 0);
    }

    void checkClickFocusesTheNode() {
        m_view->setCurrentIndex(titleAt(0));
        m_tree->setData(titleAt(1), Qt::Checked, Qt::CheckStateRole);
        QCOMPARE(m_list->focusedNode(), titleAt(1));
        QVERIFY(m_tree->node(titleAt(1))->Checked);
        QCOMPARE(m_angle->count(), 2); // the combos follow the checked node
    }

    void doubleClickPlaysAndExpandsTitles() {
        QVERIFY(!m_view->isExpanded(titleAt(0)));
        m_list->ltvTaskDblClick(titleAt(0));
        QVERIFY(m_view->isExpanded(titleAt(0)));
        m_list->ltvTaskDblClick(chapterAt(0, 0));
        QCOMPARE(m_log, (QStringList{"play", "play"}));
    }

    void menuEnabling() {
        m_list->PopupMenu1Popup();
        QVERIFY(m_list->pmiCheckAll->isEnabled());
        QVERIFY(m_list->pmiUncheck->isEnabled());
        QVERIFY(m_list->pmiDVDVolume->isEnabled());
        QCOMPARE(m_list->pmiTrimTime->text(), QString("Edit Start && End Time"));
        m_tree->clear();
        m_list->PopupMenu1Popup();
        QVERIFY(!m_list->pmiCheckAll->isEnabled());
        QVERIFY(!m_list->pmiUncheck->isEnabled());
        QVERIFY(!m_list->pmiDVDVolume->isEnabled());
        QVERIFY(m_list->pmiOpenDir->isEnabled());
        QVERIFY(m_list->pmiTrimTime->isEnabled());
        m_list->pmiCheckChapter->trigger(); // safe on an empty tree
    }

    void menuCheckCommandsReachTheTree() {
        m_list->pmiCheckChapter->trigger();
        QCOMPARE(m_tree->checkedNodes().size(), 4);
        m_list->pmiUncheck->trigger();
        QVERIFY(m_tree->checkedNodes().isEmpty());
    }

    void openDirAndBrowse() {
        QTemporaryDir dir;
        m_prompts.folders = {std::nullopt, dir.path(), QString("/no/such/folder"), dir.path()};
        m_openDir->click(); // cancelled
        m_openDir->click(); // chosen
        m_openDir->click(); // missing
        QCOMPARE(m_log, (QStringList{"stop", "stop", "open " + dir.path() + "/", "stop"}));
        QCOMPARE(m_prompts.folderCaptions.front(), QString("Please specify a DVD-ROM"));
        m_browse->click();
        QCOMPARE(m_settings.outputFolder(), dir.path() + "/");
        m_open->click();
        QCOMPARE(m_shell.opened, QStringList{dir.path() + "/"});
        m_openDvd->click();
        QCOMPARE(m_log.last(), QString("drives"));

        // Beside the folder choice, on the button's menu and the tree's: a disc image.
        TestFiles::write(dir.filePath("Film.ISO"), "x");
        m_prompts.openFiles = {dir.filePath("Film.ISO"), dir.filePath("missing.iso")};
        m_openDir->menu()->actions().at(1)->trigger();
        m_list->pmiOpenImage->trigger();
        QCOMPARE(m_log.mid(m_log.size() - 3),
                 (QStringList{"stop", "open " + dir.filePath("Film.ISO"), "stop"}));
        QVERIFY(m_prompts.openFilters.front().contains("*.iso"));
    }

    void driveDialog() {
        QTemporaryDir disc;
        TestFiles::write(disc.filePath("VIDEO_TS/VIDEO_TS.IFO"), "x");
        FakeDrives drives;
        drives.list = {{"/dev/sr0", disc.path(), "A[B]C", true},
                       {"/dev/sr1", "", "", false},
                       {"/dev/sr2", "/media/gone", "", true}};
        QStringList opened;
        TOpenDVDForm form(&m_window, drives, m_prompts);
        connect(&form, &TOpenDVDForm::discChosen, this,
                [&](const QString& volume, const QString& folder) { opened << volume << folder; });
        QCOMPARE(form.windowTitle(), QString("Open a DVD"));
        form.show();
        QCOMPARE(form.cmbDrive->count(), 2);
        QCOMPARE(form.cmbDrive->currentIndex(), 0);
        QCOMPARE(form.cmbDrive->itemText(0), disc.path() + "/ [A[B]C]");

        form.cmbDrive->setCurrentIndex(1); // a disc without VIDEO_TS
        form.btnOpen->click();
        QCOMPARE(m_prompts.notices.size(), 1);
        QCOMPARE(m_prompts.notices[0].text,
                 QString("/media/gone/VIDEO_TS/ is not found. Please insert a DVD disc."));
        QCOMPARE(m_prompts.notices[0].caption, QString("No DVD Detected."));
        QVERIFY(form.isVisible());

        form.cmbDrive->setCurrentIndex(0);
        form.btnOpen->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(opened, (QStringList{"A[B]C", disc.path() + "/VIDEO_TS/"}));

        drives.list.clear(); // refresh after the discs were taken out
        form.show();
        QCOMPARE(form.cmbDrive->count(), 0);
        form.btnOpen->click();
        QCOMPARE(m_prompts.notices.last().text,
                 QString("VIDEO_TS/ is not found. Please insert a DVD disc."));
    }

    void unmountedDiscIsMountedWhenOpened() {
        QTemporaryDir disc;
        TestFiles::write(disc.filePath("VIDEO_TS/VIDEO_TS.IFO"), "x");
        FakeDrives drives;
        drives.list = {{"/dev/sr0", "", "LABEL", true}};
        drives.mountResult = disc.path();
        QStringList opened;
        TOpenDVDForm form(&m_window, drives, m_prompts);
        connect(&form, &TOpenDVDForm::discChosen, this,
                [&](const QString& volume, const QString& folder) { opened << volume << folder; });
        form.show();
        QCOMPARE(form.cmbDrive->itemText(0), QString("/dev/sr0 [LABEL]"));
        form.btnOpen->click();
        QCOMPARE(opened, (QStringList{"LABEL", disc.path() + "/VIDEO_TS/"}));
    }
};

QTEST_MAIN(TestTaskListUi)
#include "tst_tasklist_ui.moc"
