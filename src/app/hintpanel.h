#pragma once

#include <QFrame>
#include <QList>
#include <QTimer>

class QCheckBox;
class QLabel;

// The sliding one-line busy notice over the main pane, with the "turn off" check box below
// its text. Each slide step runs from the event loop, so the window keeps working meanwhile.
class THintPanel : public QFrame {
    Q_OBJECT
public:
    explicit THintPanel(QWidget* parent = nullptr);

    QLabel* labHint = nullptr;
    QCheckBox* chkTurnoff = nullptr;

    // Hides chkTurnoff, sets the text and slides open from height 0 (again when already open).
    void ShowHintPanel(const QString& text);
    // Slides shut, then hides.
    void HideHintPanel();

    bool isSliding() const { return m_timer.isActive(); }

signals:
    void slideFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step();

    QTimer m_timer;
    QList<int> m_heights;
    bool m_hideWhenDone = false;
};
