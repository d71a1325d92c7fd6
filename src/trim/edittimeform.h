#pragma once

#include <QDialog>

// "Edit the Start & End Time": trims the focused title or chapter.
class TEditTimeForm : public QDialog {
    Q_OBJECT
public:
    explicit TEditTimeForm(QWidget* mainWindow);
};
