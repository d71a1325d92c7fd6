#pragma once

#include "dvd/dvdstructure.h"

#include <memory>

// A disc's files: a folder's read as they lie, an image's through libdvdread, which finds
// them in the image's UDF file system.
class LibDvdReadStructure : public IDvdStructureReader {
public:
    LibDvdReadStructure();
    ~LibDvdReadStructure() override;

    QString openDvd(const QString& disc) override;
    InfoFileRead infoFile(int titleSet, bool backup) override;
    QString volumeLabel() override;

private:
    struct Disc;
    std::unique_ptr<Disc> m_disc;
};
