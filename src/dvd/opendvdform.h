#pragma once

#include "dvd/drivelist.h"

#include <QDialog>

class IDriveSource;
class IPrompts;
class QComboBox;
class QLabel;
class QPushButton;

// "Open a DVD": lists the drives holding a disc and opens the chosen disc's VIDEO_TS folder,
// taking the disc's label as the volume name of the output files.
class TOpenDVDForm : public QDialog {
    Q_OBJECT
public:
    TOpenDVDForm(QWidget* mainWindow, IDriveSource& drives, IPrompts& prompts);

    QLabel* Label1 = nullptr;
    QComboBox* cmbDrive = nullptr;
    QPushButton* btnRefresh = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnCancel = nullptr;

    const DriveList& driveList() const { return m_list; }

    void btnRefreshClick();
    void btnOpenClick();

signals:
    // The chosen disc: its label and its VIDEO_TS folder.
    void discChosen(const QString& volumeName, const QString& folder);

protected:
    void showEvent(QShowEvent* event) override;

private:
    IDriveSource& m_drives;
    IPrompts& m_prompts;
    DriveList m_list;
};
