#include "app/hintpanel.h"
#include "app/imagebutton.h"
#include "app/mainform.h"
#include "app/programwindow.h"
#include "core/programvalues.h"
#include "dvd/discopener.h"
#include "dvd/tasklistview.h"
#include "fakes.h"
#include "profiles/standardini.h"
#include "testfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class TestMainForm : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    FakePrompts m_prompts;
    FakeShell m_shell;
    FakePower m_power;
    FakeDrives m_drives;

    // The whole window, put together as the program does, over fake services.
    std::unique_ptr<TProgramWindow> makeWindow(const QStringList& args = {}) {
        return std::make_unique<TProgramWindow>(
            m_dir.path(), args, PlatformServices{m_prompts, m_shell, m_power, m_drives});
    }
    void writeProfile(const QString& name, const QByteArray& type) {
        TestFiles::write(m_dir.filePath("Profiles/" + name + ".apf"),
                         "[Main]\r\nPara=0\r\nType=" + type + "\r\n");
    }

private slots:
    void init() {
        m_prompts = {};
        m_shell = {};
        m_power = {};
        QFile::remove(m_dir.filePath("Preferences.ini"));
    }

    void windowArrangement() {
        auto formWindow = makeWindow();
        TMainForm* form = &formWindow->mainForm();
        QCOMPARE(form->size(), QSize(868, 554));
        QCOMPARE(form->minimumSize(), form->maximumSize()); // the user cannot resize it
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form->windowTitle(), QString("Kelvo Ripvale V2.0"));
        QCOMPARE(form->labProgramName->text(), QString("Ripvale"));
        QCOMPARE(form->panProfile->width(), 230);
        QCOMPARE(form->panbg->size(), QSize(604, 338));
        QCOMPARE(form->imgStart->size(), QSize(133, 65));
        QCOMPARE(form->imgStart->geometry(), form->imgStop->geometry());
        QCOMPARE(form->SpeedButton1->toolTip(), QString("Help"));
        QCOMPARE(form->SpeedButton2->toolTip(), QString("About"));
        QCOMPARE(form->SpeedButton3->toolTip(), QString("Visit our website"));
        QCOMPARE(form->sbtnOptions->text(), QString("Settings"));
        QCOMPARE(form->bbtnSetting->text(), QString("&Settings"));
        QCOMPARE(form->ltvTask->model()->columnCount(), 5);
        QCOMPARE(form->ltvTask->columnWidth(0), 175);
        QCOMPARE(form->ltvTask->columnWidth(3), 200);

        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QVERIFY(form->panbg->isVisible()); // covers the tree before a disc is opened
        QVERIFY(form->imgStart->isVisible());
        QVERIFY(!form->imgStop->isVisible());
        QVERIFY(form->panBottomCenter->isVisible());
        QVERIFY(!form->panBottomLeft->isVisible());
        QVERIFY(!form->PanHint->isVisible());
        QVERIFY(!form->sbtnSegment->isEnabled()); // nothing opened
        QCOMPARE(m_power.inhibitCalls, 1);        // sleep refused for the program's lifetime
        QCOMPARE(m_power.powerOffCalls, 0);
    }

    void resizeRulesKeepButtonsNinetyPixelsFromTheRight() {
        auto formWindow = makeWindow();
        TMainForm* form = &formWindow->mainForm();
        form->show();
        for (int width : {604, 500, 700}) {
            form->panMain->resize(width, form->panMain->height());
            form->FormResize();
            QCOMPARE(form->panBottomCenter->width(), width);
            QCOMPARE(form->panBottomLeft->width(), width);
            QCOMPARE(form->bbtnSetting->x(), width - 90);
            QCOMPARE(form->cmbProfile->width(), width - 90 - 72);
            QCOMPARE(form->bbtnOpen->x(), width - 90);
            QCOMPARE(form->bbtnBrowser->x(), width - 90 - 83);
            QCOMPARE(form->edtOutputDir->width(), width - 90 - 83 - 72);
            QCOMPARE(form->labCurProgress->x(), width - 25);
            QCOMPARE(form->pgbCurrent->width(), width - 25 - 105 - 1);
            QCOMPARE(form->labTotalProgress->x(), width - 25);
            QCOMPARE(form->pgbTotal->width(), width - 25 - 105 - 1);
        }
        QCOMPARE(form->TrackBar->width(), form->VideoWindow->width() - 4);
    }

    void imageButtonPressReleaseLeavesItHot() {
        auto formWindow = makeWindow();
        TMainForm* form = &formWindow->mainForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QSignalSpy clicks(form->imgStart, &TImageButton::clicked);
        QTest::mouseMove(form->imgStart, QPoint(20, 20));
        QCOMPARE(form->imgStart->state(), 1);
        QTest::mousePress(form->imgStart, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(form->imgStart->state(), 2);
        QTest::mouseRelease(form->imgStart, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(form->imgStart->state(), 1);
        QCOMPARE(clicks.count(), 1);
        // Moving onto the panel around the buttons returns it to normal.
        QTest::mouseMove(form->panStartStop, QPoint(200, 5));
        QTRY_COMPARE(form->imgStart->state(), 0);
    }

    void hintPanelSlidesOpenAndShut() {
        auto formWindow = makeWindow();
        TMainForm* form = &formWindow->mainForm();
        form->show();
        THintPanel* hint = form->PanHint;
        hint->chkTurnoff->show();
        hint->ShowHintPanel("Opening the DVD.   Please wait....");
        QVERIFY(!hint->chkTurnoff->isVisibleTo(hint));
        QCOMPARE(hint->labHint->text(), QString("Opening the DVD.   Please wait...."));
        QVERIFY(hint->isVisible());
        QTRY_VERIFY(!hint->isSliding());
        QCOMPARE(hint->height(), 109);
        QCOMPARE(hint->width(), 398);

        // Showing it again while open slides it open from height 0.
        hint->ShowHintPanel("Loading.   Please wait....");
        QVERIFY(hint->isSliding());
        QTRY_VERIFY(!hint->isSliding());
        QCOMPARE(hint->height(), 109);

        hint->HideHintPanel();
        QTRY_VERIFY(!hint->isVisible());
        QCOMPARE(hint->height(), 0);
    }

    void commandLineOpensFolders() {
        QTemporaryDir disc;
        TestFiles::write(disc.filePath("VIDEO_TS/VIDEO_TS.IFO"), "x");
        const QString list = m_dir.filePath("LIST.TMP");
        TestFiles::write(
            list, (disc.filePath("VIDEO_TS/VIDEO_TS.IFO") + "\n/no/such\n" + disc.path() + "\n")
                      .toUtf8());
        auto formWindow = makeWindow({list});
        TMainForm* form = &formWindow->mainForm();
        // The list's entries open in turn; the last one is what the window shows.
        QCOMPARE(formWindow->discOpener().folder(), disc.path() + "/");
        QVERIFY(!form->panbg->isVisibleTo(form));

        auto noneWindow = makeWindow({"/no/such/folder"});
        TMainForm* none = &noneWindow->mainForm();
        QVERIFY(noneWindow->discOpener().folder().isEmpty());
        QVERIFY(none->panbg->isVisibleTo(none));
        QVERIFY(m_prompts.notices.isEmpty());

        auto brokenWindow = makeWindow({m_dir.filePath("missing.TMP")});
        QCOMPARE(m_prompts.notices.size(), 1);
        QVERIFY(m_prompts.notices[0].text.contains("missing.TMP"));
    }

    void dropsOpenTheFirstItemOnly() {
        QTemporaryDir a, b;
        TestFiles::write(a.filePath("VIDEO_TS/VTS_01_1.VOB"), "x");
        auto formWindow = makeWindow();
        TMainForm* form = &formWindow->mainForm();
        form->show();
        QStringList opened;
        connect(&formWindow->discOpener(), &TDiscOpener::openingStarted, this,
                [&](const QString& folder) { opened << folder; });
        const auto drop = [&](const QStringList& paths) { form->dropFiles(paths); };
        drop({a.path(), b.path(), "/tmp"});
        drop({a.filePath("VIDEO_TS/VTS_01_1.VOB")}); // a file opens its folder
        drop({"/no/such/thing"});
        TestFiles::write(b.filePath("Film.iso"), "x");
        drop({b.filePath("Film.iso")}); // an image opens as itself
        QCOMPARE(opened, QStringList({a.path() + "/", a.filePath("VIDEO_TS") + "/",
                                      b.filePath("Film.iso")}));

        // Taken as a copy or a link, never as the move a file manager proposes with Shift.
        const auto dropped = [&](Qt::DropActions possible) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(a.path())});
            // The drag enters first: the drop goes to the widget that took the entry.
            QDragEnterEvent enter(QPoint(20, 20), possible, &data, Qt::LeftButton,
                                  Qt::ShiftModifier);
            enter.setDropAction(Qt::MoveAction);
            QCoreApplication::sendEvent(form, &enter);
            if (!enter.isAccepted())
                return Qt::IgnoreAction;
            QDropEvent drop(QPointF(20, 20), possible, &data, Qt::LeftButton, Qt::ShiftModifier);
            drop.setDropAction(Qt::MoveAction);
            QCoreApplication::sendEvent(form, &drop);
            return drop.isAccepted() && drop.dropAction() == enter.dropAction() ? drop.dropAction()
                                                                                : Qt::IgnoreAction;
        };
        QCOMPARE(dropped(Qt::MoveAction | Qt::CopyAction), Qt::CopyAction);
        QCOMPARE(dropped(Qt::MoveAction | Qt::LinkAction), Qt::LinkAction);
        QCOMPARE(dropped(Qt::MoveAction), Qt::IgnoreAction);
        QCOMPARE(opened.size(), 5);

        form->ltvTask->setEnabled(false); // converting: drops are ignored
        drop({b.path()});
        QCOMPARE(opened.size(), 5);
    }

    void profileSelectionSurvivesTwoRuns() {
        writeProfile("b", "avi");
        writeProfile("A", "mkv");
        TestFiles::write(m_dir.filePath("Profiles/c.txt"), "x");
        {
            auto formWindow = makeWindow();
            TMainForm* form = &formWindow->mainForm();
            QCOMPARE(form->cmbProfile->count(), 2);
            QCOMPARE(form->cmbProfile->itemText(0), QString("A"));
            QCOMPARE(form->cmbProfile->itemText(1), QString("b"));
            QCOMPARE(form->cmbProfile->currentIndex(), -1); // nothing selected before show
            form->show();
            QCOMPARE(form->cmbProfile->currentIndex(), 0); // default index 0
            QCOMPARE(formWindow->values().outputExtension, QString(".mkv"));
            QCOMPARE(form->edtOutputDir->text(), m_dir.path() + "/"); // default ProgramDir
            form->cmbProfile->setCurrentIndex(1);
            QCOMPARE(formWindow->values().outputExtension, QString(".avi"));
            form->edtOutputDir->setText("/videos/out/");
            form->close();
        }
        const StandardIni prefs(m_dir.filePath("Preferences.ini"));
        QCOMPARE(prefs.readInteger("Main", "Profile", -5), 1);
        QCOMPARE(prefs.readString("Main", "Output Path"), QString("/videos/out/"));
        {
            auto formWindow = makeWindow();
            TMainForm* form = &formWindow->mainForm();
            form->show();
            QCOMPARE(form->cmbProfile->currentIndex(), 1);
            QCOMPARE(formWindow->values().outputExtension, QString(".avi"));
            QCOMPARE(form->edtOutputDir->text(), QString("/videos/out/"));
        }
    }

    void storedIndexOutsideTheListSelectsNothing() {
        writeProfile("only", "avi");
        TestFiles::write(m_dir.filePath("Preferences.ini"), "[Main]\r\nProfile=5\r\n");
        auto formWindow = makeWindow();
        TMainForm* form = &formWindow->mainForm();
        form->show();
        QCOMPARE(form->cmbProfile->currentIndex(), -1);
        form->close();
        QCOMPARE(StandardIni(m_dir.filePath("Preferences.ini")).readInteger("Main", "Profile", 0),
                 -1);
    }

    void helpAndWebsiteGoToTheShell() {
        auto formWindow = makeWindow();
        TMainForm* form = &formWindow->mainForm();
        form->show();
        form->SpeedButton1->click();
        form->SpeedButton3->click();
        QCOMPARE(m_shell.opened.size(), 2);
        QCOMPARE(m_shell.opened[0], m_dir.path() + "/help/index.html");
        QVERIFY(m_shell.opened[1].startsWith("https://"));
        m_shell.result = false;
        form->SpeedButton1->click();
        QCOMPARE(m_prompts.notices.size(), 1); // a help file that cannot open is reported
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
