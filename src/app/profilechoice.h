#pragma once

#include <QObject>

class IPrompts;
class QComboBox;
class QLineEdit;
class TParameterGroups;
class TSettings;
class TSettingsFile;
struct ProgramValues;

// The main window's profile list and output folder, editors of the settings: the list is filled
// at start, its stored selection restored when the window shows and stored with the output
// folder when it closes; choosing a profile loads it into the grids and makes its extension the
// outputs' own.
class TProfileChoice : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        QComboBox* cmbProfile;
        QLineEdit* edtOutputDir;
        TParameterGroups* parameterGroups;
    };

    // Lists the profiles, in listing order, with none selected until the window shows.
    TProfileChoice(Widgets widgets, const ProgramValues& values, TSettings& settings,
                   const TSettingsFile& file, IPrompts& prompts, QObject* parent = nullptr);

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
    const ProgramValues& m_values;
    TSettings& m_settings;
    const TSettingsFile& m_file;
    IPrompts& m_prompts;
    int m_storedIndex; // the selection as the program started
};
