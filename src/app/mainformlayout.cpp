#include "app/mainform.h"

#include "app/artwork.h"
#include "app/hintpanel.h"
#include "app/imagebutton.h"
#include "core/producttexts.h"
#include "dvd/tasklistview.h"
#include "profiles/parametergroups.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

// The main window's arrangement: which widget stands where, at the pixel.

namespace {

// Outer margins around the two panes.
constexpr int LeftMargin = 24;
constexpr int TopMargin = 25;
constexpr int RightMargin = 14;
constexpr int BottomMargin = 15;
constexpr int ProfilePaneWidth = 230;
constexpr int CommandBarHeight = 62;
constexpr int BottomPanelHeight = 109;
constexpr int StartStopHeight = 84;
constexpr int PreviewHeight = 250;
constexpr int InitialBottomWidth = 570;

QFrame* panel(QWidget* parent, const char* name) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    return frame;
}

QLabel* label(QWidget* parent, const QString& text, int x, int y, int w = -1) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    if (w > 0)
        l->resize(w, l->sizeHint().height());
    else
        l->adjustSize();
    return l;
}

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QToolButton* commandButton(QWidget* parent, const char* name, const QString& text,
                           const QString& icon, int x) {
    auto* b = named(new QToolButton(parent), name);
    b->setText(text);
    b->setIcon(Artwork::commandIcon(icon));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setGeometry(x, 4, 84, 54);
    return b;
}

QToolButton* smallButton(QWidget* parent, const char* name, const QString& icon,
                         const QString& hint) {
    auto* b = named(new QToolButton(parent), name);
    b->setIcon(Artwork::smallIcon(icon));
    b->setAutoRaise(true);
    b->setToolTip(hint);
    b->resize(22, 22);
    return b;
}

} // namespace

void TMainForm::buildMainPane() {
    const int mainWidth = ClientWidth - LeftMargin - RightMargin - ProfilePaneWidth;
    const int mainHeight = ClientHeight - TopMargin - BottomMargin;
    panMain = panel(this, "panMain");
    panMain->setGeometry(LeftMargin, TopMargin, mainWidth, mainHeight);
    const int treeHeight = mainHeight - CommandBarHeight - BottomPanelHeight;

    ltvTask = named(new TTaskListView(Artwork::headerTile(), panMain), "ltvTask");
    ltvTask->setGeometry(0, 0, mainWidth, treeHeight);

    panbg = panel(panMain, "panbg");
    panbg->setGeometry(0, 0, 604, 338);
    auto* imgBkg = named(new QLabel(panbg), "imgBkg");
    imgBkg->setGeometry(panbg->rect());
    imgBkg->setPixmap(Artwork::background(panbg->size()));
    auto* imgAvatar = named(new QLabel(panbg), "imgAvatar");
    imgAvatar->setPixmap(Artwork::avatar());
    imgAvatar->setGeometry(40, 90, 160, 160);
    labProgramName = named(new QLabel(ProductTexts::programNameLabel(), panbg), "labProgramName");
    QFont nameFont(QStringLiteral("Verdana"));
    nameFont.setPixelSize(17);
    nameFont.setBold(true);
    nameFont.setItalic(true);
    labProgramName->setFont(nameFont);
    labProgramName->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labProgramName->setGeometry(300, 290, 280, 28);

    auto* commandBar = panel(panMain, "panCommand");
    commandBar->setGeometry(0, treeHeight, mainWidth, CommandBarHeight);
    sbtnOpenDVD = commandButton(commandBar, "sbtnOpenDVD", QStringLiteral("Open DVD"),
                                QStringLiteral("open-dvd"), 4);
    sbtnOpenDir = commandButton(commandBar, "sbtnOpenDir", QStringLiteral("Open Dir"),
                                QStringLiteral("open-dir"), 92);
    sbtnOptions = commandButton(commandBar, "sbtnOptions", QStringLiteral("Settings"),
                                QStringLiteral("settings"), 180);
    sbtnSegment = commandButton(commandBar, "sbtnSegment", QStringLiteral("Segment"),
                                QStringLiteral("segment"), 268);
    sbtnSegment->setEnabled(false);

    panBottom = panel(panMain, "panBottom");
    panBottom->setGeometry(0, treeHeight + CommandBarHeight, mainWidth, BottomPanelHeight);
    buildBottomPanel();
}

void TMainForm::buildBottomPanel() {
    panBottomCenter = panel(panBottom, "panBottomCenter");
    panBottomCenter->setGeometry(0, 0, InitialBottomWidth, BottomPanelHeight);
    label(panBottomCenter, QStringLiteral("Audio Track:"), 2, 10);
    cmbAudio = named(new QComboBox(panBottomCenter), "cmbAudio");
    cmbAudio->setGeometry(72, 6, 150, 22);
    cmbAudioLanguage = named(new QComboBox(panBottomCenter), "cmbAudioLanguage");
    cmbAudioLanguage->hide();
    label(panBottomCenter, QStringLiteral("Sub Title:"), 232, 10);
    cmbSub = named(new QComboBox(panBottomCenter), "cmbSub");
    cmbSub->setGeometry(290, 6, 120, 22);
    label(panBottomCenter, QStringLiteral("Angle:"), 420, 10);
    cmbAngle = named(new QComboBox(panBottomCenter), "cmbAngle");
    cmbAngle->setGeometry(460, 6, 50, 22);
    for (QComboBox* combo : {cmbAudio, cmbSub, cmbAngle})
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    label(panBottomCenter, QStringLiteral("Profile:"), 2, 42);
    cmbProfile = named(new QComboBox(panBottomCenter), "cmbProfile");
    cmbProfile->setGeometry(72, 38, 300, 22);
    bbtnSetting =
        named(new QPushButton(QStringLiteral("&Settings"), panBottomCenter), "bbtnSetting");
    bbtnSetting->setGeometry(480, 37, 75, 25);

    label(panBottomCenter, QStringLiteral("Output Path:"), 2, 74);
    edtOutputDir = named(new QLineEdit(panBottomCenter), "edtOutputDir");
    edtOutputDir->setGeometry(72, 70, 300, 22);
    bbtnBrowser = named(new QPushButton(QStringLiteral("&Browse"), panBottomCenter), "bbtnBrowser");
    bbtnBrowser->setGeometry(397, 69, 75, 25);
    bbtnOpen = named(new QPushButton(QStringLiteral("&Open"), panBottomCenter), "bbtnOpen");
    bbtnOpen->setGeometry(480, 69, 75, 25);

    panBottomLeft = panel(panBottom, "panBottomLeft");
    panBottomLeft->setGeometry(0, 0, InitialBottomWidth, BottomPanelHeight);
    label(panBottomLeft, QStringLiteral("Time Elapsed:"), 4, 6);
    labElapsed = named(label(panBottomLeft, QStringLiteral("00:00:00"), 104, 6, 80), "labElapsed");
    label(panBottomLeft, QStringLiteral("Time Remaining:"), 240, 6);
    labRemaining =
        named(label(panBottomLeft, QStringLiteral("00:00:00"), 340, 6, 80), "labRemaining");
    label(panBottomLeft, QStringLiteral("Current Progress:"), 4, 32);
    frmCurrent = panel(panBottomLeft, "frmCurrent");
    frmCurrent->setFrameShape(QFrame::Box);
    frmCurrent->setGeometry(104, 30, 400, 20);
    pgbCurrent = named(new QProgressBar(frmCurrent), "pgbCurrent");
    pgbCurrent->setTextVisible(false);
    pgbCurrent->setGeometry(1, 1, 399, 18);
    labCurProgress =
        named(label(panBottomLeft, QStringLiteral("0%"), 545, 32, 40), "labCurProgress");
    label(panBottomLeft, QStringLiteral("Total Progress:"), 4, 58);
    frmTotal = panel(panBottomLeft, "frmTotal");
    frmTotal->setFrameShape(QFrame::Box);
    frmTotal->setGeometry(104, 56, 400, 20);
    pgbTotal = named(new QProgressBar(frmTotal), "pgbTotal");
    pgbTotal->setTextVisible(false);
    pgbTotal->setGeometry(1, 1, 399, 18);
    labTotalProgress =
        named(label(panBottomLeft, QStringLiteral("0%"), 545, 58, 40), "labTotalProgress");
    label(panBottomLeft, QStringLiteral("Frames:"), 4, 84);
    labFrame = named(label(panBottomLeft, QString(), 104, 84, 200), "labFrame");
}

void TMainForm::buildProfilePane() {
    const int paneHeight = ClientHeight - TopMargin - BottomMargin;
    panProfile = panel(this, "panProfile");
    panProfile->setGeometry(ClientWidth - RightMargin - ProfilePaneWidth, TopMargin,
                            ProfilePaneWidth, paneHeight);

    panPreview = panel(panProfile, "panPreview");
    panPreview->setGeometry(0, 0, ProfilePaneWidth, PreviewHeight);
    VideoWindow = named(new QWidget(panPreview), "VideoWindow");
    VideoWindow->setGeometry(0, 0, ProfilePaneWidth, 172);
    VideoWindow->setAutoFillBackground(true);
    QPalette black = VideoWindow->palette();
    black.setColor(QPalette::Window, Qt::black);
    VideoWindow->setPalette(black);
    TrackBar = named(new QSlider(Qt::Horizontal, panPreview), "TrackBar");
    TrackBar->setGeometry(2, 176, VideoWindow->width() - 4, 20);
    labStart = named(label(panPreview, QStringLiteral("00:00:00"), 2, 198, 60), "labStart");
    labMiddle = named(label(panPreview, QString(), 85, 198, 60), "labMiddle");
    labMiddle->setAlignment(Qt::AlignCenter);
    labEnd = named(label(panPreview, QStringLiteral("00:00:00"), 168, 198, 60), "labEnd");
    labEnd->setAlignment(Qt::AlignRight);
    sbtnPlay = smallButton(panPreview, "sbtnPlay", QStringLiteral("play"), QStringLiteral("Play"));
    sbtnPlay->move(4, 222);
    sbtnPause =
        smallButton(panPreview, "sbtnPause", QStringLiteral("pause"), QStringLiteral("Pause"));
    sbtnPause->move(28, 222);
    sbtnStop = smallButton(panPreview, "sbtnStop", QStringLiteral("stop"), QStringLiteral("Stop"));
    sbtnStop->move(52, 222);
    labPreviewPlayTime =
        named(label(panPreview, QStringLiteral("00:00:00"), 150, 225, 76), "labPreviewPlayTime");
    labPreviewPlayTime->setAlignment(Qt::AlignRight);

    ScrollBox1 = named(new QScrollArea(panProfile), "ScrollBox1");
    ScrollBox1->setGeometry(0, PreviewHeight, ProfilePaneWidth,
                            paneHeight - PreviewHeight - StartStopHeight);
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    ScrollBox1->setFrameShape(QFrame::Box);
    parameterGroups = new TParameterGroups(95, 92);
    ScrollBox1->setWidget(parameterGroups);

    panStartStop = panel(panProfile, "panStartStop");
    panStartStop->setGeometry(0, paneHeight - StartStopHeight, ProfilePaneWidth, StartStopHeight);
    panStartStop->setMouseTracking(true);
    panStartStop->installEventFilter(this);
    imgStart = named(new TImageButton({Artwork::startButton(0), Artwork::startButton(1),
                                       Artwork::startButton(2)},
                                      QStringLiteral("Start"), panStartStop),
                     "imgStart");
    imgStart->setGeometry(4, 10, 133, 65);
    imgStop = named(
        new TImageButton({Artwork::stopButton(0), Artwork::stopButton(1), Artwork::stopButton(2)},
                         QStringLiteral("Stop"), panStartStop),
        "imgStop");
    imgStop->setGeometry(4, 10, 133, 65);
    imgStop->hide();

    SpeedButton1 =
        smallButton(panStartStop, "SpeedButton1", QStringLiteral("help"), QStringLiteral("Help"));
    SpeedButton1->move(150, 48);
    SpeedButton2 =
        smallButton(panStartStop, "SpeedButton2", QStringLiteral("about"), QStringLiteral("About"));
    SpeedButton2->move(176, 48);
    SpeedButton3 = smallButton(panStartStop, "SpeedButton3", QStringLiteral("web"),
                               QStringLiteral("Visit our website"));
    SpeedButton3->move(202, 48);
}

void TMainForm::buildBottomMargin() {
    panBottomMargin = panel(this, "panBottomMargin");
    panBottomMargin->setGeometry(0, ClientHeight - BottomMargin, ClientWidth, BottomMargin);
    panBottomMargin->setMouseTracking(true);
    panBottomMargin->installEventFilter(this);
}

void TMainForm::showInitialBottomPanels() {
    panBottomCenter->resize(InitialBottomWidth, panBottomCenter->height());
    panBottomLeft->resize(InitialBottomWidth, panBottomLeft->height());
    panBottomLeft->hide();
}
