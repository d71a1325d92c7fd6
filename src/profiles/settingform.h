#pragma once

#include "core/preferences.h"

#include <QDialog>

class IPrompts;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QToolButton;
class TParameterGroups;
class TSettings;
class TSettingsFile;
struct ProgramValues;

// "Settings": the General preferences and the profile editor. Created once and shown and hidden
// as needed; its General page edits the program's settings: OK keeps and saves them, Cancel
// restores them as they were when the dialog was shown, and closing it keeps them unsaved (the
// output folder only with OK). While it is up it holds the input of the whole program
// (application-modal, shown without blocking).
// A profile list filled anew with `names`, the shown profile still selected and nothing loaded.
void RelistProfiles(QComboBox* list, const QStringList& names);

class TSettingForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 391;
    static constexpr int ClientHeight = 498;

    // The General controls show `settings`; the profile list is the program's, none selected.
    TSettingForm(QWidget* mainWindow, const ProgramValues& values, TSettings& settings,
                 const TSettingsFile& file, IPrompts& prompts);
    ~TSettingForm() override;
    // The profile list anew, the shown profile still selected.
    void relistProfiles(const QStringList& names);

    // The main window's "&Settings": the Profiles page, on the chosen profile.
    void ShowProfilesPage();
    // The main window's toolbar "Settings": the General page.
    void ShowGeneralPage();

    // The General settings as the controls show them.
    GeneralPreferences generalSettings() const;
    // The General controls as they were when the dialog was last shown.
    const GeneralPreferences& GeneralSnapshot() const { return m_snapshot; }

    // The section's General keys into the controls and the settings (the output folder only into
    // the controls).
    void LoadPreferences(const QString& section);

    // --- controls ---
    QTabWidget* pgcSetting = nullptr;
    QWidget* tabGeneral = nullptr;
    QWidget* tabProfiles = nullptr;
    QLineEdit* edtOutputDir = nullptr;
    QToolButton* sbtnBrowse = nullptr;
    QLineEdit* edtWorkDir = nullptr;
    QToolButton* SpeedButton1 = nullptr; // browse for the work folder
    QComboBox* cmbSyn = nullptr;
    QComboBox* cmbIntermediate = nullptr; // Standard, High
    QCheckBox* chkOpenDir = nullptr;
    QCheckBox* chkExit = nullptr;
    QCheckBox* chkTurnoff = nullptr;
    QGroupBox* gpbOverWrite = nullptr;
    QRadioButton* rdbAsk = nullptr;
    QRadioButton* rdbOverWrite = nullptr;
    QRadioButton* rdbRename = nullptr;
    QComboBox* cmbProfile = nullptr;
    QPushButton* btnSaveAs = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    TParameterGroups* parameterGroups = nullptr; // btnVideo, vleVideo, ... inside ScrollBox1
    QPushButton* btnDefault = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    // --- handlers ---
    void cmbProfileChange();
    void btnOKClick();
    void btnCancelClick();
    void btnDefaultClick();
    void btnSaveAsClick();
    void sbtnBrowseClick();
    void SpeedButton1Click();

signals:
    // OK saved the profile the main window shows: the main window reloads it.
    void shownProfileSaved();
    // Save As added a profile to the list.
    void profileListChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildGeneralPage();
    void buildProfilesPage();
    void showGeneral(const GeneralPreferences& settings);
    void chooseFolderInto(QLineEdit* edit);
    // The controls into the settings, all but the output folder.
    void keepShown();
    // The selected profile's file; empty when no profile is selected.
    QString selectedProfilePath() const;

    const ProgramValues& m_values;
    TSettings& m_settings;
    const TSettingsFile& m_file;
    IPrompts& m_prompts;
    GeneralPreferences m_snapshot;
};
