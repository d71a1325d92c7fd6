#pragma once

#include <QWidget>

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
class TTaskListView;
class TParameterGroups;
class THintPanel;
class TImageButton;

// The main window's controls, named as the rest of the program refers to them. The composition
// root hands them to the controllers that own their handlers.
struct MainFormControls {
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
};

// The program's main window as a view: arranges the controls at their pixels, keeps them in
// place when it resizes, and tells what the user does to the window itself. Everything else is
// connected to its controls from outside.
class TMainForm : public QWidget, public MainFormControls {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 868;
    static constexpr int ClientHeight = 554;

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    const MainFormControls& controls() const { return *this; }

    // The task list's column widths; its model must be set.
    void setTaskColumnWidths();

    // Dropped files and folders; false while converting (the task list disabled) or empty.
    bool dropFiles(const QStringList& paths);

    // Applies FormResize's layout rules to the current widths.
    void FormResize();

signals:
    void firstShown(); // FormShow, once, after the layout rules were applied
    void closing();    // FormClose
    void filesDropped(const QStringList& paths);

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
    void resetImageButtons();

    bool m_shown = false;
};
