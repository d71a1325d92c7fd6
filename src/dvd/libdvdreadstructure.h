#pragma once

#include "dvdstructure.h"

#include <QHash>

#include <memory>

// The disc's structure read through libdvdread.
class LibDvdReadStructure : public IDvdStructureReader {
public:
    LibDvdReadStructure();
    ~LibDvdReadStructure() override;

    void openDvd(const QString& folder) override;
    int titleCount() override;
    void indexInfo(int titleIndex, int& titleSetIndex, int& chainIndex) override;
    int titleAngleCount(int titleIndex) override;

private:
    struct Disc;
    std::unique_ptr<Disc> m_disc;
};
