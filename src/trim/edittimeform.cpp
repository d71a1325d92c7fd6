#include "trim/edittimeform.h"

#include "core/timetext.h"
#include "dvd/tasktree.h"
#include "trim/timespanrules.h"
#include "trim/trimartwork.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <cstdlib>

using namespace TimeSpanRules;

namespace {

QLabel* label(const QString& text, QWidget* parent, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

QFrame* strip(QWidget* parent, const QRect& geometry) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setAutoFillBackground(true);
    frame->setGeometry(geometry);
    return frame;
}

// Rectangles given by their edges, right and bottom exclusive.
QRect edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

int rounded(double seconds) {
    return int(RoundHalfEven(seconds));
}

} // namespace

TEditTimeForm::TEditTimeForm(QWidget* mainWindow, TTaskTree& tree, FocusedNode focusedNode)
    : QDialog(mainWindow), m_tree(tree), m_focusedNode(std::move(focusedNode)) {
    setObjectName(QStringLiteral("EditTimeForm"));
    setWindowTitle(QStringLiteral("Edit the Start & End Time"));
    setFixedSize(456, 181);
    setWindowModality(Qt::ApplicationModal); // shown without blocking, but owns the input

    Label2 =
        label(QStringLiteral("Use the Slide Bar or Edit Boxes to change the Start and End Time."),
              this, {14, 10, 430, 16});

    panTop = strip(this, {42, 28, 371, 16});
    labStartTime = label(QStringLiteral("Start Time"), panTop, {0, 0, 185, 16});
    labStartTime->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    labEndTime = label(QStringLiteral("End Time"), panTop, {186, 0, 185, 16});
    labEndTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    sbtnStartTime = new QToolButton(this);
    sbtnStartTime->setObjectName(QStringLiteral("sbtnStartTime"));
    sbtnStartTime->setGeometry(14, 47, 28, 22);
    sbtnStartTime->setIcon(TrimArtwork::widenEarlier());
    sbtnStartTime->setAutoRaise(true);
    sbtnStartTime->setFocusPolicy(Qt::NoFocus);

    tkbTime = new TmkRangeSlider(this);
    tkbTime->setObjectName(QStringLiteral("tkbTime"));
    tkbTime->setGeometry(42, 46, 371, 32);
    // With this step the only tick is the one at 0.
    tkbTime->setFrequency(100000);

    sbtnEndTime = new QToolButton(this);
    sbtnEndTime->setObjectName(QStringLiteral("sbtnEndTime"));
    sbtnEndTime->setGeometry(413, 47, 28, 22);
    sbtnEndTime->setIcon(TrimArtwork::widenLater());
    sbtnEndTime->setAutoRaise(true);
    sbtnEndTime->setFocusPolicy(Qt::NoFocus);

    // Borderless strips over the slider's outer edges, clear of the thumbs.
    panLeft = strip(this, {42, 46, 2, 32});
    panRight = strip(this, {411, 46, 2, 32});
    panBottom = strip(this, {42, 72, 371, 6});

    labStart = label(QStringLiteral("Start:"), this, {14, 98, 36, 16});
    edtStartTime = new QLineEdit(this);
    edtStartTime->setObjectName(QStringLiteral("edtStartTime"));
    edtStartTime->setGeometry(50, 95, 97, 21);
    Label1 = label(QStringLiteral("End:"), this, {160, 98, 30, 16});
    edtEndTime = new QLineEdit(this);
    edtEndTime->setObjectName(QStringLiteral("edtEndTime"));
    edtEndTime->setGeometry(190, 95, 97, 21);
    labLength = label(QStringLiteral("Length:"), this, {300, 98, 150, 16});
    labLength->setObjectName(QStringLiteral("labLength"));

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setGeometry(286, 144, 75, 25);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setGeometry(370, 144, 75, 25);

    Image1 = TrimArtwork::range();
    Image2 = TrimArtwork::startThumb();
    Image3 = TrimArtwork::endThumb();

    tmrRefresh = new QTimer(this);
    tmrRefresh->setInterval(1);

    setTabOrder(tkbTime, edtStartTime);
    setTabOrder(edtStartTime, edtEndTime);
    setTabOrder(edtEndTime, btnOK);
    setTabOrder(btnOK, btnCancel);

    // The edits show the positions after each change; the range notifications cover the
    // opening, where the positions are pulled into the new range.
    tkbTime->OnMinChange = [this](int) { refreshEdits(); };
    tkbTime->OnMaxChange = [this](int) { refreshEdits(); };
    tkbTime->OnMinPosChange = [this](int value) { tkbTimeMinPosChange(value); };
    tkbTime->OnMaxPosChange = [this](int value) { tkbTimeMaxPosChange(value); };
    edtStartTime->installEventFilter(this);
    edtEndTime->installEventFilter(this);
    connect(tmrRefresh, &QTimer::timeout, this, &TEditTimeForm::tmrRefreshTimer);
    connect(sbtnStartTime, &QToolButton::clicked, this, &TEditTimeForm::sbtnStartTimeClick);
    connect(sbtnEndTime, &QToolButton::clicked, this, &TEditTimeForm::sbtnEndTimeClick);
    connect(btnOK, &QPushButton::clicked, this, &TEditTimeForm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TEditTimeForm::btnCancelClick);
}

void TEditTimeForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!FormShow())
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

bool TEditTimeForm::FormShow() {
    if (!m_focusedNode)
        return false;
    m_node = m_focusedNode();
    const TTaskNode* node = m_tree.node(m_node);
    if (!node)
        return false;
    try {
        // Max first: the new item may lie wholly above the previous one.
        tkbTime->setMax(rounded(node->OrigEndSeconds));
        tkbTime->setMin(rounded(node->OrigStartSeconds));
        const int start = rounded(node->StartSeconds);
        tkbTime->setMinPosition(start);
        tkbTime->setMaxPosition(rounded(node->EndSeconds));
        // Again: an item lying wholly above the previous one held the start at the old end.
        tkbTime->setMinPosition(start);
    } catch (const EmkRangeSlider&) {
        return false;
    }
    labStartTime->setText(node->OrigStartText);
    labEndTime->setText(node->OrigEndText);
    tmrRefresh->start();
    return true;
}

void TEditTimeForm::tmrRefreshTimer() {
    tmrRefresh->stop();
    update();
}

void TEditTimeForm::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    FormPaint();
}

QRect TEditTimeForm::startThumbRect() const {
    const int track = tkbTime->TrackRect().left();
    const int p = tkbTime->PositionToPixel(tkbTime->MinPosition());
    return edges(p + track - Image2.width(), 2, p + track, 23);
}

QRect TEditTimeForm::endThumbRect() const {
    const int track = tkbTime->TrackRect().left();
    const int p = tkbTime->PositionToPixel(tkbTime->MaxPosition());
    return edges(p + track, 2, p + track + Image3.width(), 23);
}

void TEditTimeForm::FormPaint() {
    const int track = tkbTime->TrackRect().left();
    const QRect range = edges(tkbTime->PositionToPixel(tkbTime->MinPosition()) + track, 7,
                              tkbTime->PositionToPixel(tkbTime->MaxPosition()) + track, 15);
    const QRect whole = edges(track, 7, tkbTime->width() - track, 15);
    tkbTime->DrawOnCanvas([&](QPainter& painter) {
        painter.fillRect(whole, tkbTime->palette().color(QPalette::Base));
        if (!range.isEmpty())
            painter.drawPixmap(range, Image1);
        painter.drawPixmap(startThumbRect(), Image2);
        painter.drawPixmap(endThumbRect(), Image3);
    });
}

void TEditTimeForm::drawStartThumb() {
    tkbTime->DrawOnCanvas(
        [this](QPainter& painter) { painter.drawPixmap(startThumbRect(), Image2); });
}

void TEditTimeForm::drawEndThumb() {
    tkbTime->DrawOnCanvas(
        [this](QPainter& painter) { painter.drawPixmap(endThumbRect(), Image3); });
}

void TEditTimeForm::refreshEdits() {
    if (m_suppressNextRefresh) {
        m_suppressNextRefresh = false;
        return;
    }
    edtStartTime->setText(SecondsToTimeText(tkbTime->MinPosition()));
    edtEndTime->setText(SecondsToTimeText(tkbTime->MaxPosition()));
    labLength->setText(LengthText(tkbTime->MinPosition(), tkbTime->MaxPosition()));
}

void TEditTimeForm::applyStartThumbRule() {
    if (tkbTime->MinPosition() == tkbTime->Min() ||
        std::abs(tkbTime->MinPosition() - tkbTime->MaxPosition()) <= 1)
        drawStartThumb();
}

void TEditTimeForm::applyEndThumbRule() {
    if (tkbTime->MaxPosition() == tkbTime->Max() ||
        std::abs(tkbTime->MinPosition() - tkbTime->MaxPosition()) <= 1)
        drawEndThumb();
}

void TEditTimeForm::tkbTimeMinPosChange(int) {
    refreshEdits();
    applyStartThumbRule();
}

void TEditTimeForm::tkbTimeMaxPosChange(int) {
    refreshEdits();
    applyEndThumbRule();
}

bool TEditTimeForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        if (watched == edtStartTime)
            edtStartTimeKeyUp();
        else if (watched == edtEndTime)
            edtEndTimeKeyUp();
    }
    return QDialog::eventFilter(watched, event);
}

void TEditTimeForm::edtStartTimeKeyUp() {
    const long long v = TypedSeconds(edtStartTime->text());
    if (!StartAcceptable(v, tkbTime->Min(), tkbTime->MaxPosition())) {
        labLength->setText(InvalidStart);
        return;
    }
    // Cleared afterwards too: a value the slider already holds raises no notification.
    m_suppressNextRefresh = true;
    tkbTime->setMinPosition(int(v));
    m_suppressNextRefresh = false;
    FormPaint();
    applyStartThumbRule();
    labLength->setText(LengthText(tkbTime->MinPosition(), tkbTime->MaxPosition()));
}

void TEditTimeForm::edtEndTimeKeyUp() {
    const long long v = TypedSeconds(edtEndTime->text());
    if (!EndAcceptable(v, tkbTime->MinPosition(), tkbTime->Max())) {
        labLength->setText(InvalidEnd);
        return;
    }
    m_suppressNextRefresh = true;
    tkbTime->setMaxPosition(int(v));
    m_suppressNextRefresh = false;
    FormPaint();
    applyEndThumbRule();
    labLength->setText(LengthText(tkbTime->MinPosition(), tkbTime->MaxPosition()));
}

void TEditTimeForm::sbtnStartTimeClick() {
    if (tkbTime->Min() < tkbTime->MinPosition())
        tkbTime->setMinPosition(tkbTime->MinPosition() - 1);
}

void TEditTimeForm::sbtnEndTimeClick() {
    if (tkbTime->MaxPosition() < tkbTime->Max())
        tkbTime->setMaxPosition(tkbTime->MaxPosition() + 1);
}

void TEditTimeForm::btnOKClick() {
    const QString startText = edtStartTime->text();
    const QString endText = edtEndTime->text();
    // Text the editor flagged, or a start not before the end, is never stored.
    const QString error =
        SpanError(startText, endText, tkbTime->Min(), tkbTime->Max(), tkbTime->MinPosition());
    if (!error.isEmpty()) {
        labLength->setText(error);
        return;
    }
    m_tree.setSpan(m_node, startText, endText); // as typed, a fraction included
    close();
}

void TEditTimeForm::btnCancelClick() {
    close();
}
