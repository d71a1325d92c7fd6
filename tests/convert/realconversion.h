#pragma once

#include "convert/conversionjob.h"
#include "dvd/discloader.h"
#include "dvd/tasktree.h"

#include <QHash>
#include <QTemporaryDir>

// A disc a test made, loaded as the window loads it, with one item to be converted.
struct OpenedDisc {
    TDVDInformation info;
    TTaskTree tree{[this] { return info.VolumeName; }, [] { return QString(); }};

    explicit OpenedDisc(const QString& folder);
    // Title `title`'s chapter `chapter`, or the title itself for 0, alone checked.
    QModelIndex only(int title, int chapter);
};

// Conversions with the real encoder and transcoder of the program folder, into a temporary
// output folder.
class RealConversions {
public:
    RealConversions();

    QString programDir() const { return m_programDir; }
    QString outputFolder() const { return m_out.path() + u'/'; }
    QString workFolder() const { return m_work.path() + u'/'; }
    QString outputPath(const QString& fileName) const { return m_out.filePath(fileName); }
    // The first shipped profile of a type ("mp4"); empty when none is.
    QString firstProfile(const QString& type) const;
    // Converts the checked items of a loaded disc with a profile whose rows show `shown` where
    // given; returns the run's failures.
    QList<ItemFailure> convert(const QString& profilePath, const TTaskTree& tree,
                               const TDVDInformation& info,
                               const QHash<QString, QString>& shown = {},
                               int intermediate = 0) const;

private:
    QString m_programDir;
    QTemporaryDir m_out;
    QTemporaryDir m_work;
};
