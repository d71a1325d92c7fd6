#include "app/mainform.h"

#include "app/aboutform.h"
#include "app/artwork.h"
#include "app/hintpanel.h"
#include "app/imagebutton.h"
#include "app/website.h"
#include "convert/conversioncontroller.h"
#include "convert/conversionitems.h"
#include "convert/toolrunner.h"
#include "core/discentries.h"
#include "core/paths.h"
#include "core/preferences.h"
#include "core/producttexts.h"
#include "dvd/discopener.h"
#include "dvd/libdvdreadstructure.h"
#include "dvd/opendvdform.h"
#include "dvd/tasklistcontroller.h"
#include "dvd/tasklistview.h"
#include "dvd/tasktree.h"
#include "platform/power.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "preview/previewcontroller.h"
#include "profiles/generalpreferencesfile.h"
#include "profiles/parametergroups.h"
#include "profiles/profileloading.h"
#include "profiles/settingform.h"
#include "profiles/standardini.h"
#include "trim/trimcontroller.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QToolButton>

TMainForm::TMainForm(const QString& programDir, const QStringList& arguments,
                     PlatformServices platform)
    : m_platform(platform) {
    setObjectName(QStringLiteral("MainForm"));

    // Program-wide values; the version decides the caption.
    m_values = LoadProgramValues(programDir);
    QApplication::setApplicationName(QString::fromLatin1(ProductTexts::ProductName));
    QApplication::setApplicationDisplayName(QString());
    setWindowTitle(ProductTexts::windowCaption(m_values.productVersion));
    setWindowIcon(Artwork::applicationIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 240, 248));
    setPalette(pal);
    QFont dialogFont(QStringLiteral("DejaVu Sans"));
    dialogFont.setPixelSize(11); // the pixel layout is made for a small dialog font
    setFont(dialogFont);

    buildMainPane();
    buildProfilePane();
    PanHint = new THintPanel(panMain);
    PanHint->move((panMain->width() - PanHint->width()) / 2, 110);
    wireTaskList();
    wireConversion();
    wirePreview();

    buildBottomMargin();

    // Profile list, in listing order; nothing selected yet.
    for (const QString& file : ListFilesWithExtension(m_values.profilesDir(), ".apf"))
        cmbProfile->addItem(ProfileNameOfFile(file));
    cmbProfile->setCurrentIndex(-1);
    connect(cmbProfile, &QComboBox::currentIndexChanged, this, &TMainForm::cmbProfileChange);

    processCommandLine(arguments);
    if (!m_tree->isEmpty())
        sbtnSegment->setEnabled(true);

    showInitialBottomPanels();
    setAcceptDrops(true);

    if (!m_platform.power.inhibitSleep())
        qInfo("Sleep cannot be refused on this system: no logind found.");

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() = default;

void TMainForm::wireTaskList() {
    m_tree = std::make_unique<TTaskTree>([this] { return m_dvd.VolumeName; },
                                         [this] { return m_values.outputExtension; });
    DiscOpenerWindow window;
    window.hideBackground = [this] { panbg->hide(); };
    window.showHint = [this](const QString& text) { PanHint->ShowHintPanel(text); };
    window.hideHint = [this] { PanHint->HideHintPanel(); };
    window.showError = [this](const QString& text) { showError(text); };
    window.showFirstNode = [this] {
        ltvTask->scrollTo(m_tree->index(0, 0), QAbstractItemView::PositionAtCenter);
    };
    window.enableSegment = [this] { sbtnSegment->setEnabled(true); };
    window.stopPreview = [this] {
        if (m_preview)
            m_preview->Stop();
    };
    m_opener = new TDiscOpener(
        *m_tree, m_dvd, [] { return std::make_unique<LibDvdReadStructure>(); }, window, this);

    TTaskListController::Actions actions;
    actions.showDriveDialog = [this] {
        if (m_openDvd)
            m_openDvd->show();
    };
    actions.openSourceFolder = [this](const QString& folder) { OpenSourceFolder(folder); };
    actions.previewPlay = [this] {
        if (m_preview)
            m_preview->Play();
    };
    actions.previewStop = [this] {
        if (m_preview)
            m_preview->Stop();
    };
    actions.segment = [this] {
        if (m_trim)
            m_trim->sbtnSegmentClick();
    };
    actions.editVolume = [this] {
        if (m_trim)
            m_trim->pmiDVDVolumeClick();
    };
    connect(sbtnSegment, &QToolButton::clicked, this, [this] {
        if (m_trim)
            m_trim->sbtnSegmentClick();
    });
    m_taskList =
        new TTaskListController(*m_tree,
                                {ltvTask, cmbAudio, cmbAudioLanguage, cmbSub, cmbAngle, sbtnOpenDVD,
                                 sbtnOpenDir, edtOutputDir, bbtnBrowser, bbtnOpen},
                                actions, m_platform.prompts, m_platform.shell, this);
    const int widths[] = {175, 80, 80, 200, 10};
    for (int c = 0; c < TTaskTree::ColumnCount; ++c)
        ltvTask->setColumnWidth(c, widths[c]);
}

void TMainForm::wireConversion() {
    m_generalSettings = [this] {
        return ReadStandardGeneralPreferences(m_values.preferencesPath(), Prefs::MainSection,
                                              m_values.programDir);
    };
    TConversionController::Widgets w{
        imgStart,
        imgStop,
        {sbtnOpenDVD, sbtnOpenDir, sbtnSegment, sbtnOptions, ltvTask, panPreview, ScrollBox1},
        panBottomLeft,
        panBottomCenter,
        pgbCurrent,
        pgbTotal,
        labCurProgress,
        labTotalProgress,
        labFrame,
        labElapsed,
        labRemaining,
        edtOutputDir,
        cmbProfile,
        PanHint->chkTurnoff};
    TConversionController::Sources sources;
    sources.checkedItems = [this] { return ConversionItemsOf(*m_tree); };
    sources.volumeName = [this] { return m_dvd.VolumeName; };
    sources.frameRate = [this] { return m_dvd.FrameRate; };
    sources.discPath = [this] { return m_dvd.DiscPath; };
    sources.generalSettings = [this] { return m_generalSettings(); };
    sources.shownText = [this](ParameterGroup group, const QString& key) {
        return parameterGroups->shownText(group, key);
    };
    TConversionController::WindowActions actions;
    actions.showHint = [this](const QString& text) { PanHint->ShowHintPanel(text); };
    actions.hideHint = [this] { PanHint->HideHintPanel(); };
    actions.setHint = [this](const QString& text) { PanHint->labHint->setText(text); };
    actions.closeWindow = [this] { close(); };
    actions.stopPreview = [this] { m_preview->setConverting(true); };
    m_conversion = new TConversionController(w, sources, actions, m_values, m_platform.prompts,
                                             m_platform.shell, m_platform.power,
                                             std::make_unique<TToolRunner>(), this);
    connect(imgStart, &TImageButton::clicked, m_conversion, &TConversionController::imgStartClick);
    connect(imgStop, &TImageButton::clicked, m_conversion, &TConversionController::imgStopClick);
}

void TMainForm::wirePreview() {
    m_preview = new TPreviewController(
        {panPreview, VideoWindow, TrackBar, labStart, labMiddle, labEnd, labPreviewPlayTime,
         sbtnPlay, sbtnPause, sbtnStop},
        {m_platform.prompts, m_dvd, m_values.preferencesPath(),
         [this] {
             const QModelIndex focused = m_taskList->focusedNode();
             return TPreviewPlayer::FocusedItem{m_tree->node(focused), m_tree->listNode(focused)};
         },
         [this](const QString& text) { PanHint->ShowHintPanel(text); },
         [this] { PanHint->HideHintPanel(); }},
        this);
    connect(m_conversion, &TConversionController::runEnded, this,
            [this] { m_preview->setConverting(false); });
}

void TMainForm::processCommandLine(const QStringList& arguments) {
    const CommandLineEntries entries = ReadCommandLineEntries(arguments);
    if (!entries.error.isEmpty())
        showError(entries.error);
    for (const QString& entry : entries.entries) {
        const QString folder = FolderForEntry(entry);
        if (!folder.isEmpty())
            OpenSourceFolder(folder);
    }
}

void TMainForm::OpenSourceFolder(const QString& folder) {
    m_openedFolders << (IsDiscImage(folder) ? folder : WithTrailingSeparator(folder));
    m_opener->OpenSourceFolder(folder);
}

void TMainForm::openDisc(const QString& volumeName, const QString& folder) {
    panbg->hide();
    m_dvd.VolumeName = volumeName;
    OpenSourceFolder(folder);
}

void TMainForm::showError(const QString& text) {
    m_platform.prompts.inform(text, QString::fromLatin1(ProductTexts::ProductName));
}

void TMainForm::FormResize() {
    const int width = panMain->width();
    panBottomCenter->resize(width, panBottomCenter->height());
    panBottomLeft->resize(width, panBottomLeft->height());

    const int centerWidth = panBottomCenter->width();
    bbtnSetting->move(centerWidth - 90, bbtnSetting->y());
    cmbProfile->resize(bbtnSetting->x() - 72, cmbProfile->height());
    bbtnOpen->move(centerWidth - 90, bbtnOpen->y());
    bbtnBrowser->move(bbtnOpen->x() - 83, bbtnBrowser->y());
    edtOutputDir->resize(bbtnBrowser->x() - 72, edtOutputDir->height());

    const int leftWidth = panBottomLeft->width();
    labCurProgress->move(leftWidth - 25, labCurProgress->y());
    frmCurrent->resize(labCurProgress->x() - 105, frmCurrent->height());
    pgbCurrent->resize(frmCurrent->width() - 1, pgbCurrent->height());
    labTotalProgress->move(leftWidth - 25, labTotalProgress->y());
    frmTotal->resize(labTotalProgress->x() - 105, frmTotal->height());
    pgbTotal->resize(frmTotal->width() - 1, pgbTotal->height());

    TrackBar->resize(VideoWindow->width() - 4, TrackBar->height());
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

void TMainForm::FormShow() {
    FormResize();
    RestoreProfileSelection();
}

void TMainForm::FormClose() {
    StoreProfileSelection();
}

void TMainForm::RestoreProfileSelection() {
    const StandardIni prefs(m_values.preferencesPath());
    if (cmbProfile->count() > 0) {
        const int index =
            prefs.readInteger(Prefs::MainSection, Prefs::Profile, Prefs::DefaultProfile);
        const bool same = cmbProfile->currentIndex() == index;
        cmbProfile->setCurrentIndex(index >= 0 && index < cmbProfile->count() ? index : -1);
        if (same)
            cmbProfileChange(); // selecting the shown item again still loads it
    }
    edtOutputDir->setText(
        prefs.readString(Prefs::MainSection, Prefs::OutputPath, m_values.programDir));
}

void TMainForm::StoreProfileSelection() {
    StandardIni prefs(m_values.preferencesPath());
    QString error;
    if (!prefs.writeInteger(Prefs::MainSection, Prefs::Profile, cmbProfile->currentIndex(),
                            &error) ||
        !prefs.writeString(Prefs::MainSection, Prefs::OutputPath, edtOutputDir->text(), &error))
        qWarning("Preferences could not be saved: %s", qPrintable(error));
}

void TMainForm::cmbProfileChange() {
    const QString path = m_values.profilePath(cmbProfile->currentText());
    if (cmbProfile->currentIndex() < 0 || !QFileInfo::exists(path))
        return;
    if (const std::optional<QString> extension =
            LoadProfile(*parameterGroups, path, ProfileReaderKind::Standard, m_platform.prompts))
        m_values.outputExtension = *extension;
    m_tree->refresh();
    emit profileChanged(cmbProfile->currentIndex());
}

void TMainForm::attachSettingForm(TSettingForm* form) {
    form->attachMainWindow({cmbProfile, edtOutputDir, [this] { cmbProfileChange(); }});
    connect(bbtnSetting, &QPushButton::clicked, form, &TSettingForm::ShowProfilesPage);
    connect(sbtnOptions, &QToolButton::clicked, form, &TSettingForm::ShowGeneralPage);
    setGeneralSettingsSource([form] { return form->generalSettings(); });
}

void TMainForm::SpeedButton1Click() {
    if (!m_platform.shell.open(m_values.helpPath()))
        showError(
            QStringLiteral("The help file \"%1\" could not be opened.").arg(m_values.helpPath()));
}

void TMainForm::SpeedButton2Click() {
    if (m_about)
        m_about->exec();
}

void TMainForm::SpeedButton3Click() {
    m_platform.shell.open(QString::fromLatin1(Website::Address));
}

void TMainForm::resetImageButtons() {
    for (TImageButton* button : {imgStart, imgStop})
        if (button->isVisible())
            button->resetState();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove &&
        (watched == panStartStop || watched == panBottomMargin))
        resetImageButtons();
    return QWidget::eventFilter(watched, event);
}

namespace {
// A drop only reads what it is given: taken as a copy, or a link, never as a move, which would
// let the source delete the disc folder.
bool acceptAsCopyOrLink(QDropEvent* event) {
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (event->possibleActions() & action) {
            event->setDropAction(action);
            event->accept();
            return true;
        }
    }
    event->ignore();
    return false;
}
} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && ltvTask->isEnabled())
        acceptAsCopyOrLink(event);
}

void TMainForm::dropEvent(QDropEvent* event) {
    if (!(event->possibleActions() & (Qt::CopyAction | Qt::LinkAction))) {
        event->ignore();
        return;
    }
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths << url.toLocalFile();
    if (dropFiles(paths))
        acceptAsCopyOrLink(event);
}

bool TMainForm::dropFiles(const QStringList& paths) {
    if (!ltvTask->isEnabled() || paths.isEmpty())
        return false; // converting: drops are ignored
    const QString folder = FolderForEntry(paths.front().left(254));
    if (!folder.isEmpty())
        OpenSourceFolder(folder);
    return true;
}
