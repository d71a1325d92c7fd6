#include "app/mainform.h"

#include "app/artwork.h"
#include "app/hintpanel.h"
#include "app/imagebutton.h"
#include "dvd/tasklistview.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

TMainForm::TMainForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowIcon(Artwork::applicationIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    // A light palette gets the window's own blue-grey tint; a dark one is left as it is.
    QPalette pal = palette();
    if (pal.color(QPalette::Window).lightness() > 160) {
        pal.setColor(QPalette::Window, QColor(236, 240, 248));
        setPalette(pal);
    }
    QFont dialogFont(QStringLiteral("DejaVu Sans"));
    dialogFont.setPixelSize(11); // the pixel layout is made for a small dialog font
    setFont(dialogFont);

    buildMainPane();
    buildProfilePane();
    PanHint = new THintPanel(panMain);
    PanHint->move((panMain->width() - PanHint->width()) / 2, 110);
    buildBottomMargin();
    showInitialBottomPanels();
    setAcceptDrops(true);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() = default;

void TMainForm::setTaskColumnWidths() {
    const int widths[] = {175, 80, 80, 200, 10};
    for (int c = 0; c < int(std::size(widths)); ++c)
        ltvTask->setColumnWidth(c, widths[c]);
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

    // 25 pixels from the right, or as far as "100%" needs in the font at hand.
    const int leftWidth = panBottomLeft->width();
    const int percentWidth =
        std::max(25, labCurProgress->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 2);
    labCurProgress->move(leftWidth - percentWidth, labCurProgress->y());
    frmCurrent->resize(labCurProgress->x() - 105, frmCurrent->height());
    pgbCurrent->resize(frmCurrent->width() - 1, pgbCurrent->height());
    labTotalProgress->move(leftWidth - percentWidth, labTotalProgress->y());
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
        FormResize();
        emit firstShown();
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
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
    emit filesDropped(paths);
    return true;
}
