#pragma once

#include "dvd/drivelist.h"

#include <QDialog>

#include <functional>

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
    // `open` receives the volume name and the VIDEO_TS folder to open.
    using Opener = std::function<void(const QString& volumeName, const QString& folder)>;
    TOpenDVDForm(QWidget* mainWindow, IDriveSource& drives, IPrompts& prompts, Opener open);

    QLabel* Label1 = nullptr;
    QComboBox* cmbDrive = nullptr;
    QPushButton* btnRefresh = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnCancel = nullptr;

    const DriveList& driveList() const { return m_list; }

    void btnRefreshClick();
    void btnOpenClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    IDriveSource& m_drives;
    IPrompts& m_prompts;
    Opener m_open;
    DriveList m_list;
};
