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

// In their fixed order: each part may use those above it. The controllers, which hold the
// windows' controls and the dialogs, are made after the windows and ended first, explicitly, by
// the destructor.
struct TProgramWindow::Parts {
    PlatformServices platform;
    const ProgramValues values;
    const TSettingsFile settingsFile;
    TSettings settings;
    TDVDInformation dvd;
    TTaskTree tree;
    TMainForm mainForm;
    std::unique_ptr<TProfileChoice> profiles;
    std::unique_ptr<TDiscOpener> opener;
    std::unique_ptr<TTaskListController> taskList;
    std::unique_ptr<TConversionController> conversion;
    std::unique_ptr<TPreviewController> preview;
    TOpenDVDForm openDvdForm;
    TSettingForm settingForm;
    TEditDVDVolumeForm volumeForm;
    TEditTimeForm timeForm;
    std::unique_ptr<TTrimController> trim;
    TAboutForm aboutForm;

    Parts(const QString& programDir, PlatformServices services);
    ~Parts();
    Parts(const Parts&) = delete;
    Parts& operator=(const Parts&) = delete;

    void connectDiscOpening();
    void connectTaskList();
    void connectConversion();
    void connectPreview();
    void connectDialogs();
    void connectWindow();

    void OpenSourceFolder(const QString& folder) { opener->OpenSourceFolder(folder); }
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
      openDvdForm(&mainForm, platform.drives, platform.prompts),
      settingForm(&mainForm, values, settings, settingsFile, platform.prompts),
      volumeForm(&mainForm), timeForm(&mainForm, tree, [this] { return taskList->focusedNode(); }),
      aboutForm(&mainForm, values.productVersion, platform.shell) {
    profiles = std::make_unique<TProfileChoice>(
        TProfileChoice::Widgets{.cmbProfile = mainForm.cmbProfile,
                                .edtOutputDir = mainForm.edtOutputDir,
                                .parameterGroups = mainForm.parameterGroups},
        values, settings, settingsFile, platform.prompts);
    opener = std::make_unique<TDiscOpener>(tree, dvd,
                                           [] { return std::make_unique<LibDvdReadStructure>(); });
    taskList = std::make_unique<TTaskListController>(tree, taskListWidgets(mainForm), settings,
                                                     platform.prompts, platform.shell);
    conversion = std::make_unique<TConversionController>(
        conversionWidgets(mainForm),
        TConversionController::Sources{.tree = tree,
                                       .dvd = dvd,
                                       .settings = settings,
                                       .shownText =
                                           [this](ParameterGroup group, const QString& key) {
                                               return mainForm.parameterGroups->shownText(group,
                                                                                          key);
                                           }},
        values, platform.prompts, platform.shell, platform.power, platform.notifier,
        std::make_unique<TToolRunner>());
    preview = std::make_unique<TPreviewController>(
        previewWidgets(mainForm),
        TPreviewController::Services{
            .prompts = platform.prompts,
            .dvd = dvd,
            .preferencesPath = values.preferencesPath(),
            .focusedItem = [this] {
                const QModelIndex focused = taskList->focusedNode();
                return TPreviewPlayer::FocusedItem{tree.node(focused), tree.listNode(focused)};
            }});
    trim = std::make_unique<TTrimController>(
        tree, [this] { return taskList->focusedNode(); }, dvd, platform.prompts, timeForm,
        volumeForm);
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

TProgramWindow::Parts::~Parts() {
    // The controllers go before the windows and dialogs whose controls they hold, in the
    // reverse of their making; a running conversion's tools and half-made files go with it.
    trim.reset();
    preview.reset();
    conversion.reset();
    taskList.reset();
    opener.reset();
    profiles.reset();
}

void TProgramWindow::Parts::connectDiscOpening() {
    QObject::connect(opener.get(), &TDiscOpener::openingStarted, &mainForm, [this] {
        mainForm.panbg->hide();
        preview->Stop();
    });
    QObject::connect(opener.get(), &TDiscOpener::noticeShown, mainForm.PanHint,
                     &THintPanel::ShowHintPanel);
    QObject::connect(opener.get(), &TDiscOpener::noticeHidden, mainForm.PanHint,
                     &THintPanel::HideHintPanel);
    QObject::connect(opener.get(), &TDiscOpener::problemFound, &mainForm,
                     [this](const QString& text) { showError(text); });
    QObject::connect(opener.get(), &TDiscOpener::nodesListed, &mainForm, [this] {
        mainForm.ltvTask->scrollTo(tree.index(0, 0), QAbstractItemView::PositionAtCenter);
        mainForm.sbtnSegment->setEnabled(true);
    });
}

void TProgramWindow::Parts::connectTaskList() {
    QObject::connect(taskList.get(), &TTaskListController::driveDialogRequested, &openDvdForm,
                     &QWidget::show);
    QObject::connect(taskList.get(), &TTaskListController::folderChosen, &mainForm,
                     [this](const QString& folder) { OpenSourceFolder(folder); });
    QObject::connect(taskList.get(), &TTaskListController::previewPlayRequested, preview.get(),
                     &TPreviewController::Play);
    QObject::connect(taskList.get(), &TTaskListController::previewStopRequested, preview.get(),
                     &TPreviewController::Stop);
    QObject::connect(taskList.get(), &TTaskListController::segmentRequested, trim.get(),
                     &TTrimController::sbtnSegmentClick);
    QObject::connect(taskList.get(), &TTaskListController::volumeEditRequested, trim.get(),
                     &TTrimController::pmiDVDVolumeClick);
    QObject::connect(mainForm.sbtnSegment, &QToolButton::clicked, trim.get(),
                     &TTrimController::sbtnSegmentClick);
    // A new profile's extension renames every output.
    QObject::connect(profiles.get(), &TProfileChoice::profileChanged, &mainForm,
                     [this] { tree.refresh(); });
}

void TProgramWindow::Parts::connectConversion() {
    QObject::connect(mainForm.imgStart, &TImageButton::clicked, conversion.get(),
                     &TConversionController::imgStartClick);
    QObject::connect(mainForm.imgStop, &TImageButton::clicked, conversion.get(),
                     &TConversionController::imgStopClick);
    QObject::connect(conversion.get(), &TConversionController::hintShown, mainForm.PanHint,
                     &THintPanel::ShowHintPanel);
    QObject::connect(conversion.get(), &TConversionController::hintChanged,
                     mainForm.PanHint->labHint, &QLabel::setText);
    QObject::connect(conversion.get(), &TConversionController::hintHidden, mainForm.PanHint,
                     &THintPanel::HideHintPanel);
    QObject::connect(conversion.get(), &TConversionController::closeRequested, &mainForm,
                     &QWidget::close);
}

void TProgramWindow::Parts::connectPreview() {
    QObject::connect(preview.get(), &TPreviewController::hintShown, mainForm.PanHint,
                     &THintPanel::ShowHintPanel);
    QObject::connect(preview.get(), &TPreviewController::hintHidden, mainForm.PanHint,
                     &THintPanel::HideHintPanel);
    QObject::connect(conversion.get(), &TConversionController::runStarted, preview.get(),
                     [this] { preview->setConverting(true); });
    QObject::connect(conversion.get(), &TConversionController::runEnded, preview.get(),
                     [this] { preview->setConverting(false); });
}

void TProgramWindow::Parts::connectDialogs() {
    // The drive dialog's open: the disc's label names the output files from now on.
    QObject::connect(&openDvdForm, &TOpenDVDForm::discChosen, &mainForm,
                     [this](const QString& volumeName, const QString& folder) {
                         mainForm.panbg->hide();
                         dvd.VolumeName = volumeName;
                         OpenSourceFolder(folder);
                     });
    QObject::connect(&settingForm, &TSettingForm::shownProfileSaved, profiles.get(),
                     &TProfileChoice::cmbProfileChange);
    // A profile saved under a new name is in both lists at once.
    QObject::connect(&settingForm, &TSettingForm::profileListChanged, profiles.get(), [this] {
        profiles->relist();
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
    QObject::connect(&mainForm, &TMainForm::firstShown, profiles.get(),
                     &TProfileChoice::RestoreProfileSelection);
    QObject::connect(&mainForm, &TMainForm::closing, profiles.get(),
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
    return *m_parts->opener;
}
TTaskListController& TProgramWindow::taskList() {
    return *m_parts->taskList;
}
TConversionController& TProgramWindow::conversion() {
    return *m_parts->conversion;
}
TPreviewController& TProgramWindow::preview() {
    return *m_parts->preview;
}
TProfileChoice& TProgramWindow::profileChoice() {
    return *m_parts->profiles;
}
TSettings& TProgramWindow::settings() {
    return m_parts->settings;
}
TSettingForm& TProgramWindow::settingForm() {
    return m_parts->settingForm;
}
