#include "app/programwindow.h"

#include "app/aboutform.h"
#include "app/hintpanel.h"
#include "app/imagebutton.h"
#include "app/mainform.h"
#include "app/profilechoice.h"
#include "app/website.h"
#include "convert/conversioncontroller.h"
#include "convert/toolrunner.h"
#include "core/discentries.h"
#include "core/paths.h"
#include "core/producttexts.h"
#include "core/programvalues.h"
#include "core/settings.h"
#include "dvd/discopener.h"
#include "dvd/libdvdreadstructure.h"
#include "dvd/opendvdform.h"
#include "dvd/tasklistcontroller.h"
#include "dvd/tasklistview.h"
#include "dvd/tasktree.h"
#include "platform/desktopnotifier.h"
#include "platform/desktopshell.h"
#include "platform/linuxdrives.h"
#include "platform/logindpower.h"
#include "platform/messageboxprompts.h"
#include "preview/previewcontroller.h"
#include "profiles/generalpreferencesfile.h"
#include "profiles/parametergroups.h"
#include "profiles/settingform.h"
#include "profiles/settingsfile.h"
#include "trim/editdvdvolumeform.h"
#include "trim/edittimeform.h"
#include "trim/trimcontroller.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

struct TProgramWindow::LinuxPlatform {
    MessageBoxPrompts prompts;
    DesktopShell shell;
    LogindPower power;
    LinuxDriveSource drives;
    DesktopNotifier notifier;

    PlatformServices services() { return {prompts, shell, power, drives, notifier}; }
};

// In their fixed order: each part may use those above it; they go in the reverse order, so the
// controllers go before the windows whose controls they hold.
struct TProgramWindow::Parts {
    PlatformServices platform;
    const ProgramValues values;
    const TSettingsFile settingsFile;
    TSettings settings;
    TDVDInformation dvd;
    TTaskTree tree;
    TMainForm mainForm;
    TProfileChoice profiles;
    TDiscOpener opener;
    TTaskListController taskList;
    TConversionController conversion;
    TPreviewController preview;
    TOpenDVDForm openDvdForm;
    TSettingForm settingForm;
    TEditDVDVolumeForm volumeForm;
    TEditTimeForm timeForm;
    TTrimController trim;
    TAboutForm aboutForm;

    Parts(const QString& programDir, PlatformServices services);

    void connectDiscOpening();
    void connectTaskList();
    void connectConversion();
    void connectPreview();
    void connectDialogs();
    void connectWindow();

    void OpenSourceFolder(const QString& folder) { opener.OpenSourceFolder(folder); }
    void processCommandLine(const QStringList& arguments);
    void showError(const QString& text) {
        platform.prompts.inform(text, QString::fromLatin1(ProductTexts::ProductName));
    }
};

namespace {

TConversionController::Widgets conversionWidgets(const MainFormControls& c) {
    return {.imgStart = c.imgStart,
            .imgStop = c.imgStop,
            .disabledWhileConverting =
                QList<QWidget*>{c.sbtnOpenDVD, c.sbtnOpenDir, c.sbtnSegment, c.sbtnOptions,
                                c.ltvTask, c.panPreview, c.ScrollBox1},
            .panBottomLeft = c.panBottomLeft,
            .panBottomCenter = c.panBottomCenter,
            .pgbCurrent = c.pgbCurrent,
            .pgbTotal = c.pgbTotal,
            .labCurProgress = c.labCurProgress,
            .labTotalProgress = c.labTotalProgress,
            .labFrame = c.labFrame,
            .labElapsed = c.labElapsed,
            .labRemaining = c.labRemaining,
            .edtOutputDir = c.edtOutputDir,
            .cmbProfile = c.cmbProfile,
            .chkTurnoff = c.PanHint->chkTurnoff};
}

TTaskListController::Widgets taskListWidgets(const MainFormControls& c) {
    return {.ltvTask = c.ltvTask,
            .cmbAudio = c.cmbAudio,
            .cmbAudioLanguage = c.cmbAudioLanguage,
            .cmbSub = c.cmbSub,
            .cmbAngle = c.cmbAngle,
            .sbtnOpenDVD = c.sbtnOpenDVD,
            .sbtnOpenDir = c.sbtnOpenDir,
            .bbtnBrowser = c.bbtnBrowser,
            .bbtnOpen = c.bbtnOpen};
}

TPreviewController::Widgets previewWidgets(const MainFormControls& c) {
    return {.panPreview = c.panPreview,
            .VideoWindow = c.VideoWindow,
            .TrackBar = c.TrackBar,
            .labStart = c.labStart,
            .labMiddle = c.labMiddle,
            .labEnd = c.labEnd,
            .labPreviewPlayTime = c.labPreviewPlayTime,
            .sbtnPlay = c.sbtnPlay,
            .sbtnPause = c.sbtnPause,
            .sbtnStop = c.sbtnStop};
}

} // namespace

TProgramWindow::Parts::Parts(const QString& programDir, PlatformServices services)
    : platform(services), values(LoadProgramValues(programDir)),
      settingsFile(values, platform.prompts),
      settings(settingsFile.read(TSettingsFile::Reader::Dialog)),
      tree([this] { return dvd.VolumeName; }, [this] { return settings.outputExtension(); }),
      profiles({.cmbProfile = mainForm.cmbProfile,
                .edtOutputDir = mainForm.edtOutputDir,
                .parameterGroups = mainForm.parameterGroups},
               values, settings, settingsFile, platform.prompts),
      opener(tree, dvd, [] { return std::make_unique<LibDvdReadStructure>(); }),
      taskList(tree, taskListWidgets(mainForm), settings, platform.prompts, platform.shell),
      conversion(conversionWidgets(mainForm),
                 {.tree = tree,
                  .dvd = dvd,
                  .settings = settings,
                  .shownText =
                      [this](ParameterGroup group, const QString& key) {
                          return mainForm.parameterGroups->shownText(group, key);
                      }},
                 values, platform.prompts, platform.shell, platform.power, platform.notifier,
                 std::make_unique<TToolRunner>()),
      preview(
          previewWidgets(mainForm),
          {.prompts = platform.prompts,
           .dvd = dvd,
           .preferencesPath = values.preferencesPath(),
           .focusedItem =
               [this] {
                   const QModelIndex focused = taskList.focusedNode();
                   return TPreviewPlayer::FocusedItem{tree.node(focused), tree.listNode(focused)};
               }}),
      openDvdForm(&mainForm, platform.drives, platform.prompts),
      settingForm(&mainForm, values, settings, settingsFile, platform.prompts),
      volumeForm(&mainForm), timeForm(&mainForm, tree, [this] { return taskList.focusedNode(); }),
      trim(
          tree, [this] { return taskList.focusedNode(); }, dvd, platform.prompts, timeForm,
          volumeForm),
      aboutForm(&mainForm, values.productVersion, platform.shell) {
    QApplication::setApplicationName(QString::fromLatin1(ProductTexts::ProductName));
    QApplication::setApplicationDisplayName(QString());
    mainForm.setWindowTitle(ProductTexts::windowCaption(values.productVersion));
    mainForm.setTaskColumnWidths();
    connectDiscOpening();
    connectTaskList();
    connectConversion();
    connectPreview();
    connectDialogs();
    connectWindow();
}

void TProgramWindow::Parts::connectDiscOpening() {
    QObject::connect(&opener, &TDiscOpener::openingStarted, &mainForm, [this] {
        mainForm.panbg->hide();
        preview.Stop();
    });
    QObject::connect(&opener, &TDiscOpener::noticeShown, mainForm.PanHint,
                     &THintPanel::ShowHintPanel);
    QObject::connect(&opener, &TDiscOpener::noticeHidden, mainForm.PanHint,
                     &THintPanel::HideHintPanel);
    QObject::connect(&opener, &TDiscOpener::problemFound, &mainForm,
                     [this](const QString& text) { showError(text); });
    QObject::connect(&opener, &TDiscOpener::nodesListed, &mainForm, [this] {
        mainForm.ltvTask->scrollTo(tree.index(0, 0), QAbstractItemView::PositionAtCenter);
        mainForm.sbtnSegment->setEnabled(true);
    });
}

void TProgramWindow::Parts::connectTaskList() {
    QObject::connect(&taskList, &TTaskListController::driveDialogRequested, &openDvdForm,
                     &QWidget::show);
    QObject::connect(&taskList, &TTaskListController::folderChosen, &mainForm,
                     [this](const QString& folder) { OpenSourceFolder(folder); });
    QObject::connect(&taskList, &TTaskListController::previewPlayRequested, &preview,
                     &TPreviewController::Play);
    QObject::connect(&taskList, &TTaskListController::previewStopRequested, &preview,
                     &TPreviewController::Stop);
    QObject::connect(&taskList, &TTaskListController::segmentRequested, &trim,
                     &TTrimController::sbtnSegmentClick);
    QObject::connect(&taskList, &TTaskListController::volumeEditRequested, &trim,
                     &TTrimController::pmiDVDVolumeClick);
    QObject::connect(mainForm.sbtnSegment, &QToolButton::clicked, &trim,
                     &TTrimController::sbtnSegmentClick);
    // A new profile's extension renames every output.
    QObject::connect(&profiles, &TProfileChoice::profileChanged, &mainForm,
                     [this] { tree.refresh(); });
}

void TProgramWindow::Parts::connectConversion() {
    QObject::connect(mainForm.imgStart, &TImageButton::clicked, &conversion,
                     &TConversionController::imgStartClick);
    QObject::connect(mainForm.imgStop, &TImageButton::clicked, &conversion,
                     &TConversionController::imgStopClick);
    QObject::connect(&conversion, &TConversionController::hintShown, mainForm.PanHint,
                     &THintPanel::ShowHintPanel);
    QObject::connect(&conversion, &TConversionController::hintChanged, mainForm.PanHint->labHint,
                     &QLabel::setText);
    QObject::connect(&conversion, &TConversionController::hintHidden, mainForm.PanHint,
                     &THintPanel::HideHintPanel);
    QObject::connect(&conversion, &TConversionController::closeRequested, &mainForm,
                     &QWidget::close);
}

void TProgramWindow::Parts::connectPreview() {
    QObject::connect(&preview, &TPreviewController::hintShown, mainForm.PanHint,
                     &THintPanel::ShowHintPanel);
    QObject::connect(&preview, &TPreviewController::hintHidden, mainForm.PanHint,
                     &THintPanel::HideHintPanel);
    QObject::connect(&conversion, &TConversionController::runStarted, &preview,
                     [this] { preview.setConverting(true); });
    QObject::connect(&conversion, &TConversionController::runEnded, &preview,
                     [this] { preview.setConverting(false); });
}

void TProgramWindow::Parts::connectDialogs() {
    // The drive dialog's open: the disc's label names the output files from now on.
    QObject::connect(&openDvdForm, &TOpenDVDForm::discChosen, &mainForm,
                     [this](const QString& volumeName, const QString& folder) {
                         mainForm.panbg->hide();
                         dvd.VolumeName = volumeName;
                         OpenSourceFolder(folder);
                     });
    QObject::connect(&settingForm, &TSettingForm::shownProfileSaved, &profiles,
                     &TProfileChoice::cmbProfileChange);
    // A profile saved under a new name is in both lists at once.
    QObject::connect(&settingForm, &TSettingForm::profileListChanged, &profiles, [this] {
        profiles.relist();
        settingForm.relistProfiles(values.profileNames());
    });
    QObject::connect(mainForm.bbtnSetting, &QPushButton::clicked, &settingForm,
                     &TSettingForm::ShowProfilesPage);
    QObject::connect(mainForm.sbtnOptions, &QToolButton::clicked, &settingForm,
                     &TSettingForm::ShowGeneralPage);
    QObject::connect(mainForm.SpeedButton2, &QToolButton::clicked, &aboutForm,
                     [this] { aboutForm.exec(); });
}

void TProgramWindow::Parts::connectWindow() {
    QObject::connect(&mainForm, &TMainForm::firstShown, &profiles,
                     &TProfileChoice::RestoreProfileSelection);
    QObject::connect(&mainForm, &TMainForm::closing, &profiles,
                     &TProfileChoice::StoreProfileSelection);
    // Of what is dropped, the first opens (its folder, for a file).
    QObject::connect(&mainForm, &TMainForm::filesDropped, &mainForm,
                     [this](const QStringList& paths) {
                         const QString folder = FolderForEntry(paths.front().left(254));
                         if (!folder.isEmpty())
                             OpenSourceFolder(folder);
                     });
    QObject::connect(mainForm.SpeedButton1, &QToolButton::clicked, &mainForm, [this] {
        if (!platform.shell.open(values.helpPath()))
            showError(
                QStringLiteral("The help file \"%1\" could not be opened.").arg(values.helpPath()));
    });
    QObject::connect(mainForm.SpeedButton3, &QToolButton::clicked, &mainForm,
                     [this] { platform.shell.open(QString::fromLatin1(Website::Address)); });
}

void TProgramWindow::Parts::processCommandLine(const QStringList& arguments) {
    const CommandLineEntries entries = ReadCommandLineEntries(arguments);
    if (!entries.error.isEmpty())
        showError(entries.error);
    for (const QString& entry : entries.entries) {
        const QString folder = FolderForEntry(entry);
        if (!folder.isEmpty())
            OpenSourceFolder(folder);
    }
}

TProgramWindow::TProgramWindow(const QString& programDir, const QStringList& arguments)
    : m_linux(std::make_unique<LinuxPlatform>()) {
    start(programDir, arguments, m_linux->services());
}

TProgramWindow::TProgramWindow(const QString& programDir, const QStringList& arguments,
                               PlatformServices platform) {
    start(programDir, arguments, platform);
}

TProgramWindow::~TProgramWindow() = default;

void TProgramWindow::start(const QString& programDir, const QStringList& arguments,
                           PlatformServices platform) {
    m_parts = std::make_unique<Parts>(programDir, platform);
    m_parts->processCommandLine(arguments);
    if (!platform.power.inhibitSleep())
        qInfo("Sleep cannot be refused on this system: no logind found.");
}

void TProgramWindow::show() {
    m_parts->mainForm.show();
}

void TProgramWindow::close() {
    m_parts->mainForm.close();
}

TMainForm& TProgramWindow::mainForm() {
    return m_parts->mainForm;
}
const ProgramValues& TProgramWindow::values() {
    return m_parts->values;
}
TDVDInformation& TProgramWindow::dvdInformation() {
    return m_parts->dvd;
}
TTaskTree& TProgramWindow::taskTree() {
    return m_parts->tree;
}
TDiscOpener& TProgramWindow::discOpener() {
    return m_parts->opener;
}
TTaskListController& TProgramWindow::taskList() {
    return m_parts->taskList;
}
TConversionController& TProgramWindow::conversion() {
    return m_parts->conversion;
}
TPreviewController& TProgramWindow::preview() {
    return m_parts->preview;
}
TProfileChoice& TProgramWindow::profileChoice() {
    return m_parts->profiles;
}
TSettings& TProgramWindow::settings() {
    return m_parts->settings;
}
TSettingForm& TProgramWindow::settingForm() {
    return m_parts->settingForm;
}
