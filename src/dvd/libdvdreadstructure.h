#pragma once

#include "dvd/dvdstructure.h"

#include <QHash>

#include <memory>

// The disc's structure and files read through libdvdread, which finds a folder's files whatever
// their letter case and reads images as well as folders.
class LibDvdReadStructure : public IDvdStructureReader {
public:
    LibDvdReadStructure();
    ~LibDvdReadStructure() override;

    void openDvd(const QString& disc) override;
    int titleCount() override;
    void indexInfo(int titleIndex, int& titleSet, int& chainIndex) override;
    int titleAngleCount(int titleIndex) override;
    std::optional<QByteArray> infoFile(int titleSet, bool backup) override;
    QString volumeLabel() override;

private:
    struct Disc;
    std::unique_ptr<Disc> m_disc;
};
