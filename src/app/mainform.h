#pragma once

#include "core/preferences.h"
#include "core/programvalues.h"
#include "dvd/tasknode.h"

#include <QWidget>

#include <functional>
#include <memory>

class IPower;
class IPrompts;
class IShell;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSlider;
class QToolButton;
class TAboutForm;
class TConversionController;
class TPreviewController;
class TTrimController;
class TDiscOpener;
class TOpenDVDForm;
class TSettingForm;
class TTaskListController;
class TTaskListView;
class TTaskTree;
class TParameterGroups;
class THintPanel;
class TImageButton;

// The outside world as the main window reaches it.
struct PlatformServices {
    IPrompts& prompts;
    IShell& shell;
    IPower& power;
};

// The program's main window: arranges the controls, runs start-up (FormCreate), restores and
// stores the profile choice and output folder, and hosts the shared window elements.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 868;
    static constexpr int ClientHeight = 554;

    // FormCreate: `programDir` is the executable's folder, `arguments` the command line
    // without the program name.
    TMainForm(const QString& programDir, const QStringList& arguments, PlatformServices platform);
    ~TMainForm() override;

    void attachAboutForm(TAboutForm* about) { m_about = about; }
    void attachOpenDVDForm(TOpenDVDForm* form) { m_openDvd = form; }
    // The settings dialog: its two openers, its reload of the shown profile, and its General
    // controls as the live settings.
    void attachSettingForm(TSettingForm* form);
    void attachTrimController(TTrimController* trim) { m_trim = trim; }
    TPreviewController& preview() { return *m_preview; }

    ProgramValues& values() { return m_values; }
    const QStringList& openedFolders() const { return m_openedFolders; }

    TDVDInformation& dvdInformation() { return m_dvd; }
    TTaskTree& taskTree() { return *m_tree; }
    TDiscOpener& discOpener() { return *m_opener; }
    TTaskListController& taskList() { return *m_taskList; }
    TConversionController& conversion() { return *m_conversion; }
    // Where the live General settings come from (the settings dialog's controls).
    void setGeneralSettingsSource(std::function<GeneralPreferences()> source) {
        m_generalSettings = std::move(source);
    }

    // The single way a disc folder is opened.
    void OpenSourceFolder(const QString& folder);
    // The drive dialog's open: the disc's label names the output files from now on.
    void openDisc(const QString& volumeName, const QString& folder);

    // Dropped files and folders: the first one opens (its folder, for a file).
    bool dropFiles(const QStringList& paths);

    // Applies FormResize's layout rules to the current widths.
    void FormResize();

    // Shown through the prompts, with the application's title as caption.
    void showError(const QString& text);

    // --- controls, named as the rest of the program refers to them ---
    QFrame* panMain = nullptr;
    QFrame* panProfile = nullptr;
    QFrame* panBottomMargin = nullptr;
    TTaskListView* ltvTask = nullptr;
    QFrame* panbg = nullptr;
    QLabel* labProgramName = nullptr;
    QToolButton* sbtnOpenDVD = nullptr;
    QToolButton* sbtnOpenDir = nullptr;
    QToolButton* sbtnOptions = nullptr;
    QToolButton* sbtnSegment = nullptr;
    QFrame* panBottom = nullptr;
    QFrame* panBottomCenter = nullptr;
    QComboBox* cmbAudio = nullptr;
    QComboBox* cmbAudioLanguage = nullptr; // hidden: the language codes of cmbAudio's tracks
    QComboBox* cmbSub = nullptr;
    QComboBox* cmbAngle = nullptr;
    QComboBox* cmbProfile = nullptr;
    QPushButton* bbtnSetting = nullptr;
    QLineEdit* edtOutputDir = nullptr;
    QPushButton* bbtnBrowser = nullptr;
    QPushButton* bbtnOpen = nullptr;
    QFrame* panBottomLeft = nullptr;
    QLabel* labElapsed = nullptr;
    QLabel* labRemaining = nullptr;
    QFrame* frmCurrent = nullptr;
    QProgressBar* pgbCurrent = nullptr;
    QLabel* labCurProgress = nullptr;
    QFrame* frmTotal = nullptr;
    QProgressBar* pgbTotal = nullptr;
    QLabel* labTotalProgress = nullptr;
    QLabel* labFrame = nullptr;
    QFrame* panPreview = nullptr;
    QWidget* VideoWindow = nullptr;
    QSlider* TrackBar = nullptr;
    QLabel* labStart = nullptr;
    QLabel* labMiddle = nullptr;
    QLabel* labEnd = nullptr;
    QLabel* labPreviewPlayTime = nullptr;
    QToolButton* sbtnPlay = nullptr;
    QToolButton* sbtnPause = nullptr;
    QToolButton* sbtnStop = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    TParameterGroups* parameterGroups = nullptr; // btnVideo, vleVideo, ... inside ScrollBox1
    QFrame* panStartStop = nullptr;
    TImageButton* imgStart = nullptr;
    TImageButton* imgStop = nullptr;
    QToolButton* SpeedButton1 = nullptr; // Help
    QToolButton* SpeedButton2 = nullptr; // About
    QToolButton* SpeedButton3 = nullptr; // website
    THintPanel* PanHint = nullptr;

signals:
    // The selected profile changed (after its extension was read).
    void profileChanged(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMainPane();
    void buildBottomPanel();
    void buildProfilePane();
    void buildBottomMargin();
    void showInitialBottomPanels();
    void wireTaskList();
    void wireConversion();
    void wirePreview();
    void processCommandLine(const QStringList& arguments);

    void FormShow();
    void FormClose();
    void RestoreProfileSelection();
    void StoreProfileSelection();
    void cmbProfileChange();

    void SpeedButton1Click(); // Help
    void SpeedButton2Click(); // About
    void SpeedButton3Click(); // website
    void resetImageButtons();

    ProgramValues m_values;
    PlatformServices m_platform;
    TAboutForm* m_about = nullptr;
    TOpenDVDForm* m_openDvd = nullptr;
    TDVDInformation m_dvd;
    std::unique_ptr<TTaskTree> m_tree;
    TDiscOpener* m_opener = nullptr;
    TTaskListController* m_taskList = nullptr;
    TConversionController* m_conversion = nullptr;
    TPreviewController* m_preview = nullptr;
    TTrimController* m_trim = nullptr;
    std::function<GeneralPreferences()> m_generalSettings;
    QStringList m_openedFolders;
    bool m_shown = false;
};
