#include "app/hintpanel.h"

#include "app/shellstate.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>

namespace {
constexpr int PanelWidth = 398;
constexpr int StepMs = 2; // 110 steps open in about a quarter of a second
} // namespace

THintPanel::THintPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PanHint"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    resize(PanelWidth, 0);

    labHint = new QLabel(this);
    labHint->setObjectName(QStringLiteral("labHint"));
    labHint->setAlignment(Qt::AlignCenter);
    labHint->setGeometry(8, 30, PanelWidth - 16, 20);
    QFont bold = labHint->font();
    bold.setBold(true);
    labHint->setFont(bold);

    chkTurnoff = new QCheckBox(this);
    chkTurnoff->setObjectName(QStringLiteral("chkTurnoff"));
    chkTurnoff->setGeometry(110, 64, 260, 20);
    chkTurnoff->hide();
    chkTurnoff->installEventFilter(this);

    m_timer.setInterval(StepMs);
    connect(&m_timer, &QTimer::timeout, this, &THintPanel::step);
    hide();
}

bool THintPanel::eventFilter(QObject* watched, QEvent* event) {
    // The check box is as wide as its text and centred, so no font cuts the text short.
    if (watched == chkTurnoff && event->type() == QEvent::Show) {
        const int width = std::min(chkTurnoff->sizeHint().width(), PanelWidth - 16);
        chkTurnoff->setGeometry((PanelWidth - width) / 2, 64, width, 20);
    }
    return QWidget::eventFilter(watched, event);
}

void THintPanel::ShowHintPanel(const QString& text) {
    chkTurnoff->hide();
    labHint->setText(text);
    show();
    raise();
    m_heights = HintSlide::openHeights();
    m_hideWhenDone = false;
    m_timer.start();
}

void THintPanel::HideHintPanel() {
    m_heights = HintSlide::closeHeights();
    m_hideWhenDone = true;
    m_timer.start();
}

void THintPanel::step() {
    if (m_heights.isEmpty()) {
        m_timer.stop();
        if (m_hideWhenDone)
            hide();
        emit slideFinished();
        return;
    }
    resize(width(), m_heights.takeFirst());
}
