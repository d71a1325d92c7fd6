#include "trim/editdvdvolumeform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TEditDVDVolumeForm::TEditDVDVolumeForm(QWidget* mainWindow) : QDialog(mainWindow) {
    setObjectName(QStringLiteral("EditDVDVolumeForm"));
    setWindowTitle(QStringLiteral("Edit the DVD Volume"));
    resize(409, 159);
    setWindowModality(Qt::ApplicationModal); // shown without blocking, but owns the input

    Label1 = new QLabel(QStringLiteral("DVD Volume (Prefixsion of output files:)"), this);
    Label1->setGeometry(24, 20, 353, 16);
    edtDVDVolume = new QLineEdit(this);
    edtDVDVolume->setObjectName(QStringLiteral("edtDVDVolume"));
    edtDVDVolume->setGeometry(24, 42, 353, 21);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setGeometry(216, 100, 75, 25);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setGeometry(302, 100, 75, 25);

    connect(btnOK, &QPushButton::clicked, this, &TEditDVDVolumeForm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TEditDVDVolumeForm::btnCancelClick);
}

void TEditDVDVolumeForm::btnOKClick() {
    emit volumeNameAccepted(edtDVDVolume->text());
    close();
}

void TEditDVDVolumeForm::btnCancelClick() {
    close();
}
