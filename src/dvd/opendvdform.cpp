#include "dvd/opendvdform.h"

#include "platform/drives.h"
#include "platform/prompts.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>

TOpenDVDForm::TOpenDVDForm(QWidget* mainWindow, IDriveSource& drives, IPrompts& prompts)
    : QDialog(mainWindow), m_drives(drives), m_prompts(prompts) {
    setObjectName(QStringLiteral("OpenDVDForm"));
    setWindowTitle(QStringLiteral("Open a DVD"));
    setFixedSize(377, 108);
    setWindowModality(Qt::ApplicationModal); // shown without blocking, but owns the input

    Label1 = new QLabel(QStringLiteral("DVD Disc:"), this);
    Label1->move(16, 24);
    Label1->adjustSize();
    cmbDrive = new QComboBox(this);
    cmbDrive->setObjectName(QStringLiteral("cmbDrive"));
    // The list starts after the label, however wide the font makes it.
    const int left = std::max(72, Label1->geometry().right() + 7);
    cmbDrive->setGeometry(left, 20, 361 - left, 22);
    btnRefresh = new QPushButton(QStringLiteral("&Refresh"), this);
    btnRefresh->setGeometry(18, 64, 75, 25);
    btnOpen = new QPushButton(QStringLiteral("&Open"), this);
    btnOpen->setGeometry(196, 64, 75, 25);
    btnOpen->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setGeometry(280, 64, 75, 25);

    connect(btnRefresh, &QPushButton::clicked, this, &TOpenDVDForm::btnRefreshClick);
    connect(btnOpen, &QPushButton::clicked, this, &TOpenDVDForm::btnOpenClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::close);
}

void TOpenDVDForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    btnRefreshClick();
}

void TOpenDVDForm::btnRefreshClick() {
    m_list = FillDriveList(m_drives.drives());
    cmbDrive->clear();
    for (const DriveEntry& entry : std::as_const(m_list.entries))
        cmbDrive->addItem(entry.text);
    cmbDrive->setCurrentIndex(m_list.preselect);
}

void TOpenDVDForm::btnOpenClick() {
    const int index = cmbDrive->currentIndex();
    const DriveEntry* entry =
        index >= 0 && index < m_list.entries.size() ? &m_list.entries[index] : nullptr;
    // A disc that is not mounted yet is mounted now, where the system allows it.
    QString root;
    if (entry) {
        const std::optional<QString> mountPoint = m_drives.mount(entry->drive);
        root = mountPoint ? DriveRoot({entry->drive.device, *mountPoint, {}, true})
                          : DriveRoot(entry->drive);
    }
    const QString folder = root + QStringLiteral("VIDEO_TS/");
    if (!entry || !QDir(folder).exists()) {
        m_prompts.inform(folder + QStringLiteral(" is not found. Please insert a DVD disc."),
                         QStringLiteral("No DVD Detected."));
        return;
    }
    close();
    emit discChosen(entry->volumeName, folder);
}
