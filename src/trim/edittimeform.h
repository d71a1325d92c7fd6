#pragma once

#include "trim/rangeslider.h"

#include <QDialog>
#include <QPersistentModelIndex>
#include <QPixmap>

#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;
class TTaskTree;

// "Edit the Start & End Time": trims the focused title or chapter to a start and an end inside
// its own span, with the range slider, two time edits and two buttons that widen the span by a
// second. OK writes the span into the node. Open it through TTrimController, which refuses items
// the slider cannot show.
class TEditTimeForm : public QDialog {
    Q_OBJECT
public:
    using FocusedNode = std::function<QModelIndex()>;
    // Trims the node of `tree` that `focusedNode` gives when the dialog is shown.
    TEditTimeForm(QWidget* mainWindow, TTaskTree& tree, FocusedNode focusedNode);

    QLabel* Label2 = nullptr;
    QFrame* panTop = nullptr;
    QLabel* labStartTime = nullptr;
    QLabel* labEndTime = nullptr;
    QToolButton* sbtnStartTime = nullptr;
    TmkRangeSlider* tkbTime = nullptr;
    QToolButton* sbtnEndTime = nullptr;
    QFrame* panLeft = nullptr;
    QFrame* panRight = nullptr;
    QFrame* panBottom = nullptr;
    QLabel* labStart = nullptr;
    QLineEdit* edtStartTime = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* edtEndTime = nullptr;
    QLabel* labLength = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPixmap Image1; // the range
    QPixmap Image2; // the start thumb
    QPixmap Image3; // the end thumb
    QTimer* tmrRefresh = nullptr;

    // Sets the slider from the focused node; false when there is none or the slider refuses.
    bool FormShow();
    // Lays the track, range and thumb pictures over the slider's own painting.
    void FormPaint();
    void tmrRefreshTimer();
    void tkbTimeMinPosChange(int value);
    void tkbTimeMaxPosChange(int value);
    void edtStartTimeKeyUp();
    void edtEndTimeKeyUp();
    void sbtnStartTimeClick();
    void sbtnEndTimeClick();
    void btnOKClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshEdits();
    void drawStartThumb();
    void drawEndThumb();
    // The pictures are laid over the slider's own thumbs only at the ends and where the
    // thumbs meet.
    void applyStartThumbRule();
    void applyEndThumbRule();
    // The picture areas in the slider's pixels.
    QRect startThumbRect() const;
    QRect endThumbRect() const;

    TTaskTree& m_tree;
    FocusedNode m_focusedNode;
    QPersistentModelIndex m_node;
    // Set while an edit moves the slider, so the text being typed is not overwritten.
    bool m_suppressNextRefresh = false;
};
