// The settings dialog on the main window: preferences, the profile editor, how the dialog opens
// and closes, and the main window's own loading of profiles.
#include "app/mainform.h"
#include "app/profilechoice.h"
#include "app/programwindow.h"
#include "core/programvalues.h"
#include "core/settings.h"
#include "profiles/parametergroups.h"
#include "profiles/settingform.h"
#include "profiles/standardini.h"
#include "profiletext.h"
#include "support/fakes.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace ProfileText;

namespace {

// "Size" a list in the Video grid, "Name" free text, "Fixed" read-only text.
QByteArray profileWith(int sizeIndex) {
    return profile({"Size", "Name", "Fixed"},
                   "[Size]\nSort=1\ncmd=-s\nCaption=small,big,\nValue=1x1,2x2,\nIndex=" +
                       QByteArray::number(sizeIndex) +
                       "\n[Name]\nSort=2\nList=0\nCaption=hi\nValue=hi\n"
                       "[Fixed]\nSort=3\nReadOnly=1\nList=0\nCaption=F\nValue=f\n");
}

QString checkedRadio(const TSettingForm& form) {
    for (QRadioButton* r : {form.rdbAsk, form.rdbOverWrite, form.rdbRename})
        if (r->isChecked())
            return r->objectName();
    return {};
}

} // namespace

class TestSettingForm : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    FakePrompts m_prompts;
    FakeShell m_shell;
    FakePower m_power;
    FakeDrives m_drives;
    FakeNotifier m_notifier;
    std::unique_ptr<TProgramWindow> m_program;
    TMainForm* m_main = nullptr;
    TSettingForm* m_form = nullptr;

    QString prefs() const {
        return m_program ? m_program->values().preferencesPath()
                         : m_dir->filePath("Preferences.ini");
    }
    QString profileA() const { return m_dir->filePath("Profiles/A.apf"); }

    // Start-up: the main window, then the dialog on it.
    void create(const QString& programDir = {}) {
        m_program = std::make_unique<TProgramWindow>(
            programDir.isEmpty() ? m_dir->path() : programDir, QStringList(),
            PlatformServices{m_prompts, m_shell, m_power, m_drives, m_notifier});
        m_main = &m_program->mainForm();
        m_main->edtOutputDir->setText("/main/out/");
        m_form = &m_program->settingForm();
    }
    TValueListEditor* dialogVideo() const { return m_form->parameterGroups->vleVideo; }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_prompts = {};
        TestFiles::write(m_dir->filePath("Profiles/A.apf"), profileWith(0));
        TestFiles::write(m_dir->filePath("Profiles/B.apf"), profileWith(0));
    }
    void cleanup() {
        m_form = nullptr;
        m_main = nullptr;
        m_program.reset();
    }

    void loadingPreferences_data() {
        QTest::addColumn<QByteArray>("text"); // of Preferences.ini; null: no file
        QTest::addColumn<QString>(
            "shown"); // output|work|syn|open,exit,off|radio|intermediate; ~ ProgramDir
        QTest::newRow("no file: defaults") << QByteArray() << "~|~|0|1,0,0|rdbAsk|0";
        QTest::newRow("Ask and Overwrite 1: Overwrite")
            << QByteArray("[Main]\nAsk=1\nOverwrite=1\n") << "~|~|0|1,0,0|rdbOverWrite|0";
        QTest::newRow("both 0: Rename")
            << QByteArray("[Main]\nAsk=0\nOverwrite=0\n") << "~|~|0|1,0,0|rdbRename|0";
        QTest::newRow("every key")
            << QByteArray("[Main]\nOutput Path=/o/\nWork Dir=/w\nSyn Mode=2\nAuto Open Dir=0\n"
                          "Auto Exit=true\nAuto Turn Off=2\nIntermediate=1\n")
            << "/o/|/w|2|0,1,1|rdbAsk|1";
        QTest::newRow("unreadable values: defaults")
            << QByteArray("[Main]\nSyn Mode=x\nAuto Open Dir=yes\nAsk=maybe\n")
            << "~|~|0|1,0,0|rdbAsk|0";
        QTest::newRow("[Default] not read at creation")
            << QByteArray("[Default]\nSyn Mode=1\nAsk=0\n") << "~|~|0|1,0,0|rdbAsk|0";
        QTest::newRow("unknown intermediate: standard")
            << QByteArray("[Main]\nIntermediate=7\n") << "~|~|0|1,0,0|rdbAsk|0";
        // None is none, never the root folder.
        QTest::newRow("empty work folder")
            << QByteArray("[Main]\nWork Dir=\n") << "~||0|1,0,0|rdbAsk|0";
    }
    void loadingPreferences() {
        QFETCH(QByteArray, text);
        if (!text.isNull())
            TestFiles::write(prefs(), crlf(text));
        create();
        const GeneralPreferences live = m_form->generalSettings(); // from the controls
        const QString shown =
            QStringList{
                live.outputPath,
                live.workDir,
                QString::number(live.synMode),
                QString("%1,%2,%3").arg(live.autoOpenDir).arg(live.autoExit).arg(live.autoTurnOff),
                checkedRadio(*m_form),
                QString::number(m_form->cmbIntermediate->currentIndex())}
                .join(u'|')
                .replace(m_program->values().programDir, "~");
        QTEST(shown, "shown");
        QCOMPARE(live.overwrite, checkedRadio(*m_form) == "rdbOverWrite");
        const QString typed = m_form->edtWorkDir->text();
        QCOMPARE(m_program->settings().workDir(),
                 typed.isEmpty() || typed.endsWith('/') ? typed : typed + '/');
        QVERIFY(QFile::exists(prefs())); // reading creates the file
        QCOMPARE(m_form->cmbProfile->count(), 2);
        QCOMPARE(m_form->cmbProfile->currentIndex(), -1);
    }

    void loadDefaultAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void loadDefaultAsksFirst() {
        QFETCH(bool, yes);
        TestFiles::write(prefs(),
                         crlf("[Main]\nWork Dir=/m\n[Default]\nWork Dir=/d\nSyn Mode=2\n"));
        create();
        const QByteArray before = TestFiles::read(prefs());
        m_prompts.answers = {yes};
        m_form->ShowGeneralPage();
        QTest::mouseClick(m_form->btnDefault, Qt::LeftButton);
        QCOMPARE(m_prompts.questions.value(0).text,
                 QString("Are you sure to load the default preferences?"));
        QCOMPARE(m_prompts.questions.value(0).caption, QString("Load Default"));
        QCOMPARE(m_form->cmbSyn->currentIndex(), yes ? 2 : 0);
        QCOMPARE(m_program->settings().workDir(), QString(yes ? "/d/" : "/m/"));
        QCOMPARE(TestFiles::read(prefs()), before); // nothing saved before OK
    }

    void okSavesThePreferences_data() {
        QTest::addColumn<QString>("workDir");
        QTest::newRow("plain") << "/w";
        QTest::newRow("brackets") << "/home/me/work [1]/";
        QTest::newRow("equals sign and quotes") << "/a=b/\"c\" d/";
    }
    void okSavesThePreferences() {
        QFETCH(QString, workDir);
        create();
        // OK twice: the second saving replaces every key of the first.
        for (int round = 0; round < 2; ++round) {
            m_form->ShowGeneralPage();
            m_form->edtOutputDir->setText("/o/");
            m_form->edtWorkDir->setText(workDir);
            m_form->cmbSyn->setCurrentIndex(1);
            m_form->chkTurnoff->setChecked(true);
            m_form->rdbRename->setChecked(true);
            QTest::mouseClick(m_form->btnOK, Qt::LeftButton);
        }
        // Written in the dialog's order; keys new to a section each go below its header.
        QCOMPARE(QString::fromUtf8(TestFiles::read(prefs())),
                 QString::fromUtf8(crlf(
                     "[Main]\nIntermediate=0\nOverwrite=0\nAsk=0\nAuto Turn Off=1\nAuto Exit=0\n"
                     "Auto Open Dir=1\nSyn Mode=1\nWork Dir=" +
                     workDir.toUtf8() + "\nOutput Path=/o/\n")));
        QCOMPARE(m_main->edtOutputDir->text(), QString("/o/"));
        QCOMPARE(m_program->settings().general().workDir, workDir); // as typed, for both readers
        QCOMPARE(StandardIni(prefs()).readString("Main", "Work Dir"), workDir);
        QVERIFY(!m_form->isVisible());
        m_form->ShowGeneralPage(); // and the dialog shows it whole again
        QCOMPARE(m_form->edtWorkDir->text(), workDir);
    }

    void cancelRestoresAndCloseKeeps_data() {
        QTest::addColumn<bool>("cancel"); // else the window's close button
        QTest::newRow("Cancel") << true;
        QTest::newRow("close button") << false;
    }
    void cancelRestoresAndCloseKeeps() {
        QFETCH(bool, cancel);
        TestFiles::write(prefs(), crlf("[Main]\nWork Dir=/m\n[Default]\nWork Dir=/d\n"));
        create();
        const QByteArray before = TestFiles::read(prefs());
        m_main->show(); // sets its output folder from the preferences
        m_main->edtOutputDir->setText("/main/out/");
        m_form->ShowGeneralPage();
        QCOMPARE(QApplication::activeModalWidget(), m_form); // the main window is blocked
        QCOMPARE(m_form->edtOutputDir->text(), QString("/main/out/"));
        const GeneralPreferences shown = m_form->GeneralSnapshot();
        m_form->edtOutputDir->setText("/changed/");
        m_form->rdbOverWrite->setChecked(true);
        m_prompts.answers = {true};
        QTest::mouseClick(m_form->btnDefault, Qt::LeftButton); // sets WorkDir at once
        if (cancel)
            QTest::mouseClick(m_form->btnCancel, Qt::LeftButton);
        else
            m_form->close();
        QVERIFY(!m_form->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(m_form->generalSettings() == shown, cancel);
        QCOMPARE(m_program->settings().workDir(), QString(cancel ? "/m/" : "/d/"));
        QCOMPARE(m_main->edtOutputDir->text(), QString("/main/out/"));
        QCOMPARE(TestFiles::read(prefs()), before);
    }

    void okSavesTheProfileAndReloadsTheSame_data() {
        QTest::addColumn<int>("mainIndex");
        QTest::addColumn<int>("dialogIndex"); // -1: Profiles page never loaded
        QTest::addColumn<bool>("reloaded");
        QTest::newRow("same profile: main window reloads") << 0 << 0 << true;
        QTest::newRow("other profile: main window stays") << 1 << 0 << false;
        QTest::newRow("main window shows none") << -1 << 0 << false;
        QTest::newRow("never loaded: preferences only") << 0 << -1 << false;
    }
    void okSavesTheProfileAndReloadsTheSame() {
        QFETCH(int, mainIndex);
        QFETCH(int, dialogIndex);
        QFETCH(bool, reloaded);
        create();
        m_main->cmbProfile->setCurrentIndex(mainIndex);
        QSignalSpy reloads(&m_program->profileChoice(), &TProfileChoice::profileChanged);
        if (dialogIndex < 0) {
            m_form->ShowGeneralPage();
        } else {
            m_form->ShowProfilesPage();
            m_form->cmbProfile->setCurrentIndex(dialogIndex);
            QTest::mouseDClick(
                dialogVideo()->viewport(), Qt::LeftButton, {},
                dialogVideo()->visualRect(dialogVideo()->model()->index(0, 1)).center());
        }
        QTest::mouseClick(m_form->btnOK, Qt::LeftButton);
        QCOMPARE(reloads.size(), reloaded ? 1 : 0);
        // The main window shows the new choice at once, or what it showed before.
        QCOMPARE(m_main->parameterGroups->shownText(ParameterGroup::Video, "Size"),
                 mainIndex < 0 ? std::nullopt : std::optional<QString>(reloaded ? "big" : "small"));
        QCOMPARE(TestFiles::read(profileA()), profileWith(dialogIndex == 0 ? 1 : 0));
        QCOMPARE(TestFiles::read(m_program->values().profilePath("B")), profileWith(0));
    }

    void openersChoosePageAndProfile() {
        create();
        m_main->cmbProfile->setCurrentIndex(1);
        QTest::mouseClick(m_main->bbtnSetting, Qt::LeftButton);
        QCOMPARE(m_form->pgcSetting->currentWidget(), m_form->tabProfiles);
        QCOMPARE(m_form->cmbProfile->currentIndex(), 1);
        dialogVideo()->setValue(0, "big");
        m_form->close();
        QTest::mouseClick(m_main->sbtnOptions, Qt::LeftButton);
        QCOMPARE(m_form->pgcSetting->currentWidget(), m_form->tabGeneral);
        QCOMPARE(dialogVideo()->parameter(0).value, QString("big")); // the page keeps it
        m_form->close();
        QTest::mouseClick(m_main->bbtnSetting, Qt::LeftButton); // loads again, same profile
        QCOMPARE(dialogVideo()->parameter(0).value, QString("small"));
    }

    void saveAs_data() {
        QTest::addColumn<bool>("selected");  // a profile is selected in the dialog
        QTest::addColumn<QString>("answer"); // in the test folder; empty: cancelled
        QTest::addColumn<QString>("result"); // "copy", "none", or the start of a notice
        QTest::addColumn<int>("listed");     // profiles in both lists afterwards
        QTest::newRow("a new file") << true << "saved/copy.apf"
                                    << "copy" << 2;
        QTest::newRow("a new profile") << true << "Profiles/C.apf"
                                       << "copy" << 3;
        QTest::newRow("the profile's own file") << true << "Profiles/A.apf"
                                                << "copy" << 2;
        QTest::newRow("over another profile") << true << "Profiles/B.apf"
                                              << "copy" << 2;
        QTest::newRow("cancelled") << true << ""
                                   << "none" << 2;
        QTest::newRow("no profile selected") << false << "saved/copy.apf"
                                             << "none" << 2;
        QTest::newRow("folder missing") << true << "no/such/x.apf"
                                        << "Cannot create file" << 2;
    }
    void saveAs() {
        QFETCH(bool, selected);
        QFETCH(QString, answer);
        QFETCH(QString, result);
        QFETCH(int, listed);
        QDir(m_dir->path()).mkpath("saved");
        const QString target = m_dir->filePath(answer);
        create();
        m_main->cmbProfile->setCurrentIndex(selected ? 0 : -1);
        m_form->ShowProfilesPage();
        if (selected)
            dialogVideo()->setValue(0, "big");
        m_prompts.saveFiles = {answer.isEmpty() ? std::nullopt : std::optional(target)};
        QTest::mouseClick(m_form->btnSaveAs, Qt::LeftButton);
        QCOMPARE(m_prompts.saveRequests.value(0).nameFilter, QString("Profiles (*.apf)"));
        QCOMPARE(m_prompts.saveRequests.value(0).defaultSuffix, QString("apf"));
        QCOMPARE(m_prompts.saveRequests.value(0).startFolder, m_dir->path() + "/Profiles/");
        QCOMPARE(TestFiles::read(target), result == "copy" ? profileWith(1) : QByteArray());
        if (target != profileA())
            QCOMPARE(TestFiles::read(profileA()), profileWith(0));
        QCOMPARE(m_prompts.notices.value(0).text.startsWith(result), result.startsWith("Cannot"));
        QCOMPARE(m_form->cmbProfile->count(), listed);
        QCOMPARE(m_main->cmbProfile->count(), listed);
        QCOMPARE(m_main->cmbProfile->currentIndex(), selected ? 0 : -1); // still the one shown
    }

    void browseButton() {
        create();
        m_prompts.folders = {QString("/picked"), std::nullopt};
        QTest::mouseClick(m_form->SpeedButton1, Qt::LeftButton);
        QCOMPARE(m_form->edtWorkDir->text(), QString("/picked/"));
        m_form->edtOutputDir->setText("/o");
        QTest::mouseClick(m_form->sbtnBrowse, Qt::LeftButton); // cancelled
        QCOMPARE(m_form->edtOutputDir->text(), QString("/o"));
        QCOMPARE(m_prompts.folderCaptions, QStringList(2, "Select the output directory."));
    }

    void unwritablePreferencesAreReported() {
        QDir(m_dir->path()).mkdir("Preferences.ini"); // in the way of the file
        create();
        QVERIFY2(m_prompts.notices.value(0).text.startsWith("Cannot open file \"" + prefs()),
                 qPrintable(m_prompts.notices.value(0).text));
        QCOMPARE(checkedRadio(*m_form), QString("rdbAsk")); // the defaults are shown
        m_form->ShowGeneralPage();
        QTest::mouseClick(m_form->btnOK, Qt::LeftButton);
        QCOMPARE(m_prompts.notices.size(), 2);
        QVERIFY(!m_form->isVisible());
    }

    void mainWindowLoadsWithTheStandardReader() {
        // "[" inside a value: both readers read past it.
        TestFiles::write(m_dir->filePath("Profiles/A.apf"),
                         profile({"Size", "Note"},
                                 "[Size]\nSort=1\nCaption=small,big,\nIndex=1\n"
                                 "[Note]\nList=0\nCaption=a[b\nSort=2\n",
                                 "webm"));
        create();
        m_main->cmbProfile->setCurrentIndex(0);
        QCOMPARE(m_main->parameterGroups->shownText(ParameterGroup::Audio, "Note"), QString("a[b"));
        QCOMPARE(m_program->settings().outputExtension(), QString(".webm"));
        QTest::mouseClick(m_main->bbtnSetting, Qt::LeftButton);
        QCOMPARE(m_form->parameterGroups->shownText(ParameterGroup::Audio, "Note"), QString("a[b"));
        QCOMPARE(m_prompts.notices.size(), 0);
    }

    void indexErrorKeepsTheRowsReadSoFar() {
        TestFiles::write(m_dir->filePath("Profiles/B.apf"),
                         profile({"Size", "Later"},
                                 "[Size]\nSort=1\nCaption=x,\nIndex=3\n"
                                 "[Later]\nSort=2\nList=0\nCaption=never\n",
                                 "avi"));
        create();
        m_main->cmbProfile->setCurrentIndex(1);
        QCOMPARE(m_prompts.notices.value(0).text, QString("List index out of bounds (3)"));
        QCOMPARE(m_main->parameterGroups->shownText(ParameterGroup::Video, "Size"), QString());
        QCOMPARE(m_main->parameterGroups->vleAudio->rowCount(), 0);
        QCOMPARE(m_program->settings().outputExtension(), QString(".avi")); // read before the rows
        QTest::mouseClick(m_main->bbtnSetting, Qt::LeftButton); // the dialog reports it too
        QCOMPARE(m_prompts.notices.size(), 2);
        QCOMPARE(dialogVideo()->rowCount(), 1);
    }
};

QTEST_MAIN(TestSettingForm)
#include "tst_settingform.moc"
