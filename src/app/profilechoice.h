#pragma once

#include <QObject>

class IPrompts;
class QComboBox;
class QLineEdit;
class TParameterGroups;
struct ProgramValues;

// The main window's profile list and output folder: listed at start, restored from
// Preferences.ini when the window shows and stored when it closes; choosing a profile loads it
// into the grids and makes its extension the outputs' own.
class TProfileChoice : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        QComboBox* cmbProfile;
        QLineEdit* edtOutputDir;
        TParameterGroups* parameterGroups;
    };

    // Lists the profiles, in listing order, with none selected.
    TProfileChoice(Widgets widgets, ProgramValues& values, IPrompts& prompts,
                   QObject* parent = nullptr);

    void RestoreProfileSelection();
    void StoreProfileSelection();
    // Loads the selected profile (again).
    void cmbProfileChange();
    // Lists the profiles anew; the selected one stays selected and loaded as it is.
    void relist();

signals:
    // The selected profile was loaded and its extension taken.
    void profileChanged(int index);

private:
    Widgets m_w;
    ProgramValues& m_values;
    IPrompts& m_prompts;
};
