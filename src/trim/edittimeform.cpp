#include "edittimeform.h"

TEditTimeForm::TEditTimeForm(QWidget* mainWindow) : QDialog(mainWindow) {
    setObjectName(QStringLiteral("EditTimeForm"));
    setWindowTitle(QStringLiteral("Edit the Start & End Time"));
    setFixedSize(456, 181);
}
