#pragma once

#include <QDialog>

// "Edit the DVD Volume": the prefix of the output file names.
class TEditDVDVolumeForm : public QDialog {
    Q_OBJECT
public:
    explicit TEditDVDVolumeForm(QWidget* mainWindow);
};
