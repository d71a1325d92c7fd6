#include "app/hintpanel.h"
#include "app/imagebutton.h"
#include "app/mainform.h"
#include "app/programwindow.h"
#include "core/programvalues.h"
#include "core/settings.h"
#include "dvd/discopener.h"
#include "dvd/opendvdform.h"
#include "dvd/tasklistview.h"
#include "profiles/settingform.h"
#include "profiles/standardini.h"
#include "support/fakes.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cmath>

namespace {

double luminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// How well text of one colour stands out on another (1 to 21).
double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour a widget's text is drawn on: a button's face, else the nearest filled background.
QColor backgroundOf(QWidget* w) {
    const auto* tool = qobject_cast<QToolButton*>(w);
    if (qobject_cast<QPushButton*>(w) || (tool && !tool->autoRaise()))
        return w->palette().color(QPalette::Button);
    for (QWidget* p = w; p; p = p->parentWidget())
        if (p->autoFillBackground() || p->isWindow())
            return p->palette().color(p->backgroundRole());
    return w->palette().color(QPalette::Window);
}

// The texts of a window that are cut short, or hard to read on their background.
QStringList badTexts(QWidget* window) {
    QStringList bad;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        QString text;
        int needed = 0;
        QColor ink;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->text().isEmpty() || l->wordWrap() || Qt::mightBeRichText(l->text()))
                continue;
            text = l->text();
            needed = l->fontMetrics().horizontalAdvance(text) + 2 * l->margin();
            ink = l->palette().color(l->foregroundRole());
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = QString(b->text()).remove('&');
            if (text.isEmpty())
                continue;
            const bool box = qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b);
            needed = box ? b->sizeHint().width() : b->fontMetrics().horizontalAdvance(text) + 6;
            ink = b->palette().color(box ? QPalette::WindowText : QPalette::ButtonText);
        } else {
            continue;
        }
        // The room the widget and every parent up to the window leave the text.
        int room = w->width();
        for (QWidget* c = w; c != window && c->parentWidget(); c = c->parentWidget())
            room = std::min(room, c->parentWidget()->width() -
                                      c->mapTo(c->parentWidget(), QPoint(0, 0)).x());
        if (needed > room)
            bad << QString("\"%1\" cut: %2 of %3 px").arg(text).arg(room).arg(needed);
        // A control laid over a label's text hides its end.
        if (qobject_cast<QLabel*>(w) && w->parentWidget()) {
            const QRect inked(w->pos(), QSize(needed, w->height()));
            const QObjectList& siblings = w->parentWidget()->children();
            for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i)
                if (auto* over = qobject_cast<QWidget*>(siblings[i]);
                    over && over->isVisible() && !over->isWindow() &&
                    over->geometry().intersects(inked))
                    bad << QString("\"%1\" covered by %2").arg(text, over->objectName());
        }
        // Greyed-out text of a disabled control is meant to recede.
        if (w->isEnabled() && contrast(ink, backgroundOf(w)) < 3)
            bad << QString("\"%1\" unreadable: contrast %2")
                       .arg(text)
                       .arg(contrast(ink, backgroundOf(w)), 0, 'f', 1);
    }
    return bad;
}

QPalette darkPalette() {
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 32), text(230, 230, 230);
    for (auto [role, colour] : {std::pair{QPalette::Window, window},
                                {QPalette::WindowText, text},
                                {QPalette::Base, base},
                                {QPalette::AlternateBase, window},
                                {QPalette::Text, text},
                                {QPalette::Button, window},
                                {QPalette::ButtonText, text},
                                {QPalette::Light, QColor(80, 80, 84)},
                                {QPalette::Midlight, QColor(62, 62, 66)},
                                {QPalette::Mid, QColor(38, 38, 40)},
                                {QPalette::Dark, QColor(20, 20, 22)},
                                {QPalette::Highlight, QColor(42, 130, 218)},
                                {QPalette::HighlightedText, Qt::white}})
        p.setColor(role, colour);
    return p;
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    FakePrompts m_prompts;
    FakeShell m_shell;
    FakePower m_power;
    FakeDrives m_drives;
    FakeNotifier m_notifier;

    // The whole window, put together as the program does, over fake services.
    std::unique_ptr<TProgramWindow> makeWindow(const QStringList& args = {}) {
        return std::make_unique<TProgramWindow>(
            m_dir.path(), args,
            PlatformServices{m_prompts, m_shell, m_power, m_drives, m_notifier});
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
            // The per cent figures keep 25 pixels, or what "100%" needs; the bars end 105
            // pixels before them.
            const int figure =
                std::max(25, form->labCurProgress->fontMetrics().horizontalAdvance("100%") + 2);
            QCOMPARE(form->labCurProgress->x(), width - figure);
            QCOMPARE(form->pgbCurrent->width(), width - figure - 105 - 1);
            QCOMPARE(form->labTotalProgress->x(), width - figure);
            QCOMPARE(form->pgbTotal->width(), width - figure - 105 - 1);
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

    // Start and Stop are reached with Tab, named for screen readers, and pressed with Enter,
    // Return or Space.
    void startAndStopFromTheKeyboard() {
        auto formWindow = makeWindow();
        TMainForm* form = &formWindow->mainForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        for (TImageButton* button : {form->imgStart, form->imgStop}) {
            QVERIFY(button->focusPolicy() & Qt::TabFocus);
            QCOMPARE(button->accessibleName(), button == form->imgStart ? "Start" : "Stop");
        }
        bool reached = false;
        for (int i = 0; i < 60 && !reached; ++i) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form,
                            Qt::Key_Tab);
            reached = QApplication::focusWidget() == form->imgStart;
        }
        QVERIFY(reached);
        QSignalSpy clicks(form->imgStart, &TImageButton::clicked);
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(form->imgStart, key);
        QCOMPARE(clicks.size(), 3);
        QCOMPARE(m_prompts.notices.size(), 3); // each a real Start: nothing is checked yet
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
            QCOMPARE(formWindow->settings().outputExtension(), QString(".mkv"));
            QCOMPARE(form->edtOutputDir->text(), m_dir.path() + "/"); // default ProgramDir
            form->cmbProfile->setCurrentIndex(1);
            QCOMPARE(formWindow->settings().outputExtension(), QString(".avi"));
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
            QCOMPARE(formWindow->settings().outputExtension(), QString(".avi"));
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

    // Every text of the window and its dialogs shows whole and stands out from its background,
    // in the program's own colours and under a dark desktop palette.
    void textsShowWholeAndReadable_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark palette") << true;
    }
    void textsShowWholeAndReadable() {
        QFETCH(bool, dark);
        const QPalette before = QApplication::palette();
        if (dark)
            QApplication::setPalette(darkPalette());
        const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
        writeProfile("A", "mp4");
        auto window = makeWindow();
        TMainForm* form = &window->mainForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->panBottomLeft->show(); // as during a run, at its widest figures
        form->labCurProgress->setText("100%");
        form->labTotalProgress->setText("100%");
        form->PanHint->ShowHintPanel("Converting: DVD-Title01.mp4");
        form->PanHint->chkTurnoff->show();
        QTRY_VERIFY(!form->PanHint->isSliding());
        QCOMPARE(badTexts(form).join(" / "), QString());

        TSettingForm& settings = window->settingForm();
        for (QWidget* page : {settings.tabGeneral, settings.tabProfiles}) {
            settings.pgcSetting->setCurrentWidget(page);
            settings.show();
            QCOMPARE(badTexts(&settings).join(" / "), QString());
        }
        settings.close();
        auto* drives = form->findChild<TOpenDVDForm*>();
        QVERIFY(drives);
        drives->show();
        QCOMPARE(badTexts(drives).join(" / "), QString());
        drives->close();
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
