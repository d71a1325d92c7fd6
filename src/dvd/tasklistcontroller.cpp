#include "dvd/tasklistcontroller.h"

#include "core/paths.h"
#include "core/settings.h"
#include "dvd/tasklistview.h"
#include "platform/prompts.h"
#include "platform/shell.h"

#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString FolderCaption = QStringLiteral("Please specify a DVD-ROM");
const QString ImageCaption = QStringLiteral("Please choose a DVD image");

void fill(QComboBox* combo, const QStringList& items, int selected) {
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(selected >= 0 && selected < items.size() ? selected : -1);
}

} // namespace

TTaskListController::TTaskListController(TTaskTree& tree, Widgets widgets, TSettings& settings,
                                         IPrompts& prompts, IShell& shell, QObject* parent)
    : QObject(parent), m_tree(tree), m_w(widgets), m_settings(settings), m_prompts(prompts),
      m_shell(shell) {
    m_w.ltvTask->setModel(&m_tree);
    buildMenu();

    connect(&m_tree, &TTaskTree::checkToggled, this, &TTaskListController::ltvTaskChecking);
    connect(m_w.ltvTask->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TTaskListController::ltvTaskChange);
    connect(m_w.ltvTask, &QAbstractItemView::doubleClicked, this,
            &TTaskListController::ltvTaskDblClick);
    connect(m_w.cmbAudio, &QComboBox::activated, this, &TTaskListController::cmbAudioSelect);
    connect(m_w.cmbSub, &QComboBox::activated, this, &TTaskListController::cmbSubSelect);
    connect(m_w.cmbAngle, &QComboBox::activated, this, &TTaskListController::cmbAngleSelect);
    connect(m_w.sbtnOpenDVD, &QToolButton::clicked, this, &TTaskListController::sbtnOpenDVDClick);
    connect(m_w.sbtnOpenDir, &QToolButton::clicked, this, &TTaskListController::sbtnOpenDirClick);
    connect(m_w.bbtnBrowser, &QPushButton::clicked, this, &TTaskListController::bbtnBrowserClick);
    connect(m_w.bbtnOpen, &QPushButton::clicked, this, &TTaskListController::bbtnOpenClick);

    m_w.ltvTask->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_w.ltvTask, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1Popup();
        PopupMenu1->popup(m_w.ltvTask->viewport()->mapToGlobal(pos));
    });
}

void TTaskListController::buildMenu() {
    PopupMenu1 = new QMenu(m_w.ltvTask);
    pmiOpenDVD = PopupMenu1->addAction(QStringLiteral("Open DVD"));
    pmiOpenDir = PopupMenu1->addAction(QStringLiteral("Open Directory"));
    pmiOpenImage = PopupMenu1->addAction(QStringLiteral("Open Disc Image"));
    PopupMenu1->addSeparator();
    pmiCheckAll = PopupMenu1->addMenu(QStringLiteral("Check"));
    pmiCheckTitleChapter = pmiCheckAll->addAction(QStringLiteral("All Titles and Chapters"));
    pmiCheckAll->addSeparator();
    pmiCheckTitle = pmiCheckAll->addAction(QStringLiteral("All Titles"));
    pmiCheckChapter = pmiCheckAll->addAction(QStringLiteral("All Chapters"));
    pmiUncheck = PopupMenu1->addAction(QStringLiteral("Uncheck All"));
    PopupMenu1->addSeparator();
    pmiTrimTime = PopupMenu1->addAction(QStringLiteral("Edit Start && End Time"));
    pmiDVDVolume = PopupMenu1->addAction(QStringLiteral("Change DVD Volume"));

    using C = TTaskTree::CheckCommand;
    connect(pmiOpenDVD, &QAction::triggered, this, &TTaskListController::sbtnOpenDVDClick);
    connect(pmiOpenDir, &QAction::triggered, this, &TTaskListController::sbtnOpenDirClick);
    connect(pmiOpenImage, &QAction::triggered, this, &TTaskListController::openImageClick);
    // The Open Dir button offers both choices; a plain click is the folder choice.
    auto* openMenu = new QMenu(m_w.sbtnOpenDir);
    connect(openMenu->addAction(QStringLiteral("Open Directory")), &QAction::triggered, this,
            &TTaskListController::sbtnOpenDirClick);
    connect(openMenu->addAction(QStringLiteral("Open Disc Image")), &QAction::triggered, this,
            &TTaskListController::openImageClick);
    m_w.sbtnOpenDir->setMenu(openMenu);
    m_w.sbtnOpenDir->setPopupMode(QToolButton::MenuButtonPopup);
    connect(pmiCheckTitleChapter, &QAction::triggered, this,
            [this] { m_tree.applyCheckCommand(C::AllTitlesAndChapters); });
    connect(pmiCheckTitle, &QAction::triggered, this,
            [this] { m_tree.applyCheckCommand(C::AllTitles); });
    connect(pmiCheckChapter, &QAction::triggered, this,
            [this] { m_tree.applyCheckCommand(C::AllChapters); });
    connect(pmiUncheck, &QAction::triggered, this,
            [this] { m_tree.applyCheckCommand(C::UncheckAll); });
    connect(pmiTrimTime, &QAction::triggered, this, &TTaskListController::segmentRequested);
    connect(pmiDVDVolume, &QAction::triggered, this, &TTaskListController::volumeEditRequested);
}

QModelIndex TTaskListController::focusedNode() const {
    return m_w.ltvTask->currentIndex().siblingAtColumn(0);
}

void TTaskListController::ltvTaskChecking(const QModelIndex& index) {
    if (focusedNode() != index.siblingAtColumn(0))
        m_w.ltvTask->setCurrentIndex(index.siblingAtColumn(0)); // runs the selection change
    else
        ltvTaskChange();
}

void TTaskListController::ltvTaskChange() {
    const QModelIndex focused = focusedNode();
    const TTaskNode* f = m_tree.node(focused);
    const TTaskNode* lists = m_tree.listNode(focused);
    if (!f || !lists)
        return;
    fill(m_w.cmbAudio, lists->AudioTracks, f->AudioIndex);
    fill(m_w.cmbAudioLanguage, lists->AudioLanguages, -1);
    fill(m_w.cmbSub, lists->Subtitles, f->SubtitleIndex);
    QStringList angles;
    for (int a = 1; a <= lists->AngleCount; ++a)
        angles << QString::number(a);
    fill(m_w.cmbAngle, angles, f->AngleIndex);
}

void TTaskListController::ltvTaskDblClick(const QModelIndex& index) {
    emit previewPlayRequested();
    const QModelIndex node = index.siblingAtColumn(0);
    if (m_tree.node(node) && m_tree.node(node)->IsTitle)
        m_w.ltvTask->setExpanded(node, !m_w.ltvTask->isExpanded(node));
}

void TTaskListController::writeChoice(TTaskTree::Choice choice, int entry) {
    m_tree.writeChoice(focusedNode(), choice, entry);
}

void TTaskListController::cmbAudioSelect(int entry) {
    writeChoice(TTaskTree::Choice::Audio, entry);
}

void TTaskListController::cmbSubSelect(int entry) {
    writeChoice(TTaskTree::Choice::Subtitle, entry);
}

void TTaskListController::cmbAngleSelect(int entry) {
    writeChoice(TTaskTree::Choice::Angle, entry);
}

void TTaskListController::PopupMenu1Popup() {
    const bool any = !m_tree.isEmpty();
    pmiCheckAll->setEnabled(any);
    pmiUncheck->setEnabled(any);
    pmiDVDVolume->setEnabled(any);
}

void TTaskListController::sbtnOpenDVDClick() {
    emit driveDialogRequested();
}

void TTaskListController::sbtnOpenDirClick() {
    emit previewStopRequested();
    const std::optional<QString> folder = m_prompts.chooseFolder(FolderCaption, QString());
    if (folder && QDir(*folder).exists())
        emit folderChosen(WithTrailingSeparator(*folder));
}

void TTaskListController::openImageClick() {
    emit previewStopRequested();
    const std::optional<QString> image =
        m_prompts.chooseOpenFile(ImageCaption, QStringLiteral("DVD images (*.iso *.ISO)"));
    if (image && IsDiscImage(*image))
        emit folderChosen(*image);
}

void TTaskListController::bbtnBrowserClick() {
    const std::optional<QString> folder = m_prompts.chooseFolder(FolderCaption, QString());
    if (folder && QDir(*folder).exists())
        m_settings.setOutputFolder(WithTrailingSeparator(*folder));
}

void TTaskListController::bbtnOpenClick() {
    m_shell.open(m_settings.outputFolder());
}
