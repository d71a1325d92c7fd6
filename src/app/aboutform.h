#pragma once

#include <QDialog>

class IShell;

// The About box: product, version, what the program does and where it lives.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    TAboutForm(QWidget* mainWindow, const QString& version, IShell& shell);
};
