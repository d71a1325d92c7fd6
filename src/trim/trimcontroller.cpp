#include "trim/trimcontroller.h"

#include "core/producttexts.h"
#include "core/timetext.h"
#include "dvd/tasktree.h"
#include "platform/prompts.h"
#include "trim/editdvdvolumeform.h"
#include "trim/edittimeform.h"

#include <QLineEdit>

TTrimController::TTrimController(TTaskTree& tree, FocusedNode focusedNode, TDVDInformation& dvd,
                                 IPrompts& prompts, TEditTimeForm& timeForm,
                                 TEditDVDVolumeForm& volumeForm, QObject* parent)
    : QObject(parent), m_tree(tree), m_focusedNode(std::move(focusedNode)), m_dvd(dvd),
      m_prompts(prompts), m_timeForm(timeForm), m_volumeForm(volumeForm) {
    connect(&m_volumeForm, &TEditDVDVolumeForm::volumeNameAccepted, this,
            &TTrimController::volumeNameAccepted);
}

void TTrimController::sbtnSegmentClick() {
    const TTaskNode* node = m_tree.node(m_focusedNode ? m_focusedNode() : QModelIndex());
    if (!node) {
        m_prompts.inform(QStringLiteral("Please select a Title/Chapter firstly."),
                         QStringLiteral("No Title/Chapter selected"));
        return;
    }
    if (node->OrigEndSeconds == node->OrigStartSeconds) {
        m_prompts.inform(QStringLiteral("The Start Time is equal to the End Time."),
                         QStringLiteral("Time can not be edited"));
        return;
    }
    TmkRangeSlider& slider = *m_timeForm.tkbTime;
    try {
        // Min 0 first, so that any item's end can become Max.
        slider.setMin(0);
        slider.setMax(int(RoundHalfEven(node->OrigEndSeconds)));
        slider.setMin(int(RoundHalfEven(node->OrigStartSeconds)));
        slider.setMinPosition(int(RoundHalfEven(node->StartSeconds)));
        slider.setMaxPosition(int(RoundHalfEven(node->EndSeconds)));
    } catch (const EmkRangeSlider& error) {
        m_prompts.inform(error.message(), QString::fromLatin1(ProductTexts::ProductName));
        return;
    }
    m_timeForm.show();
    m_timeForm.raise();
    m_timeForm.activateWindow();
}

void TTrimController::pmiDVDVolumeClick() {
    m_volumeForm.edtDVDVolume->setText(m_dvd.VolumeName);
    m_volumeForm.show();
    m_volumeForm.raise();
    m_volumeForm.activateWindow();
}

void TTrimController::volumeNameAccepted(const QString& volumeName) {
    m_dvd.VolumeName = volumeName;
    m_tree.refresh(); // the output column shows the new prefix
}
