#pragma once

#include "dvd/tasktree.h"

#include <QObject>

class IPrompts;
class IShell;
class QAction;
class QComboBox;
class QMenu;
class QToolButton;
class QPushButton;
class TSettings;
class TTaskListView;

// The task list's commands: checking, the stream choices that follow the focused node, the
// context menu, and the buttons that open discs and handle the output folder.
class TTaskListController : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        TTaskListView* ltvTask;
        QComboBox* cmbAudio;
        QComboBox* cmbAudioLanguage;
        QComboBox* cmbSub;
        QComboBox* cmbAngle;
        QToolButton* sbtnOpenDVD;
        QToolButton* sbtnOpenDir;
        QPushButton* bbtnBrowser;
        QPushButton* bbtnOpen;
    };
    // The output folder's buttons choose and open the folder of `settings`.
    TTaskListController(TTaskTree& tree, Widgets widgets, TSettings& settings, IPrompts& prompts,
                        IShell& shell, QObject* parent = nullptr);

    QMenu* PopupMenu1 = nullptr;
    QAction* pmiOpenDVD = nullptr;
    QAction* pmiOpenDir = nullptr;
    QAction* pmiOpenImage = nullptr;
    QMenu* pmiCheckAll = nullptr;
    QAction* pmiCheckTitleChapter = nullptr;
    QAction* pmiCheckTitle = nullptr;
    QAction* pmiCheckChapter = nullptr;
    QAction* pmiUncheck = nullptr;
    QAction* pmiTrimTime = nullptr;
    QAction* pmiDVDVolume = nullptr;

    QModelIndex focusedNode() const;

    void ltvTaskChecking(const QModelIndex& index);
    void ltvTaskChange();
    void ltvTaskDblClick(const QModelIndex& index);
    void cmbAudioSelect(int entry);
    void cmbSubSelect(int entry);
    void cmbAngleSelect(int entry);
    void PopupMenu1Popup();
    void sbtnOpenDVDClick();
    void sbtnOpenDirClick();
    // A disc image (.iso) chosen as a file, beside the folder choice.
    void openImageClick();
    void bbtnBrowserClick();
    void bbtnOpenClick();

signals:
    // What the list asks of other parts of the window.
    void driveDialogRequested();
    void folderChosen(const QString& folder); // a disc folder or image to open
    void previewPlayRequested();
    void previewStopRequested();
    void segmentRequested(); // trim the focused item
    void volumeEditRequested();

private:
    void buildMenu();
    void writeChoice(TTaskTree::Choice choice, int entry);

    TTaskTree& m_tree;
    Widgets m_w;
    TSettings& m_settings;
    IPrompts& m_prompts;
    IShell& m_shell;
};
