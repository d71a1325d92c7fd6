#pragma once

#include <QModelIndex>
#include <QObject>

#include <functional>

class IPrompts;
class TEditDVDVolumeForm;
class TEditTimeForm;
class TTaskTree;
struct TDVDInformation;

// The Segment command, which opens the time editor on the focused title or chapter, and the
// opener of the volume name editor, whose OK renames every output file at once.
class TTrimController : public QObject {
    Q_OBJECT
public:
    using FocusedNode = std::function<QModelIndex()>;
    TTrimController(TTaskTree& tree, FocusedNode focusedNode, TDVDInformation& dvd,
                    IPrompts& prompts, TEditTimeForm& timeForm, TEditDVDVolumeForm& volumeForm,
                    QObject* parent = nullptr);

    void sbtnSegmentClick();
    void pmiDVDVolumeClick();

private:
    void volumeNameAccepted(const QString& volumeName);

    TTaskTree& m_tree;
    FocusedNode m_focusedNode;
    TDVDInformation& m_dvd;
    IPrompts& m_prompts;
    TEditTimeForm& m_timeForm;
    TEditDVDVolumeForm& m_volumeForm;
};
