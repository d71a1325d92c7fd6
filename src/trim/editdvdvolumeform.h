#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Edit the DVD Volume": the volume name that prefixes the output file names. OK hands the
// text on exactly as typed, empty included.
class TEditDVDVolumeForm : public QDialog {
    Q_OBJECT
public:
    explicit TEditDVDVolumeForm(QWidget* mainWindow);

    QLabel* Label1 = nullptr;
    QLineEdit* edtDVDVolume = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    void btnOKClick();
    void btnCancelClick();

signals:
    void volumeNameAccepted(const QString& volumeName);
};
