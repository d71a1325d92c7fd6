#include "opendvdform.h"

TOpenDVDForm::TOpenDVDForm(QWidget* mainWindow) : QDialog(mainWindow) {
    setObjectName(QStringLiteral("OpenDVDForm"));
    setWindowTitle(QStringLiteral("Open a DVD"));
    setFixedSize(377, 108);
}
