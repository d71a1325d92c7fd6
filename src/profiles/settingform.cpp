#include "settingform.h"

TSettingForm::TSettingForm(QWidget* mainWindow) : QDialog(mainWindow) {
    setObjectName(QStringLiteral("SettingForm"));
    setWindowTitle(QStringLiteral("Settings"));
    setFixedSize(391, 498);
}
