#pragma once

#include <QDialog>

// "Open a DVD": picks the drive whose disc is opened. The drive list arrives with the
// disc-loading work; until then the dialog only exists and can be shown and closed.
class TOpenDVDForm : public QDialog {
    Q_OBJECT
public:
    explicit TOpenDVDForm(QWidget* mainWindow);
};
