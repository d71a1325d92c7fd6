#include "editdvdvolumeform.h"

TEditDVDVolumeForm::TEditDVDVolumeForm(QWidget* mainWindow) : QDialog(mainWindow) {
    setObjectName(QStringLiteral("EditDVDVolumeForm"));
    setWindowTitle(QStringLiteral("Edit the DVD Volume"));
    resize(409, 159);
}
