#pragma once

#include <QDialog>

// "Settings": the General preferences and the profile editor.
class TSettingForm : public QDialog {
    Q_OBJECT
public:
    explicit TSettingForm(QWidget* mainWindow);
};
