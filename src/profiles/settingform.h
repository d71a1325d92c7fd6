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
struct ProgramValues;

// "Settings": the General preferences and the profile editor. Created once and shown and hidden
// as needed; its General controls are the program's live settings. While it is up it holds the
// input of the whole program (application-modal, shown without blocking).
// A profile list filled anew with `names`, the shown profile still selected and nothing loaded.
void RelistProfiles(QComboBox* list, const QStringList& names);

class TSettingForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 391;
    static constexpr int ClientHeight = 498;

    // What the dialog uses of the main window.
    struct MainWindowLink {
        QComboBox* cmbProfile = nullptr;
        QLineEdit* edtOutputDir = nullptr;
    };

    // Creation: reads [Main] of Preferences.ini into the General controls and sets WorkDir.
    TSettingForm(QWidget* mainWindow, ProgramValues& values, IPrompts& prompts);
    ~TSettingForm() override;

    // Copies the main window's profile list, with no item selected.
    void attachMainWindow(MainWindowLink link);
    // The profile list anew, the shown profile still selected.
    void relistProfiles(const QStringList& names);

    // The main window's "&Settings": the Profiles page, on the main window's profile.
    void ShowProfilesPage();
    // The main window's toolbar "Settings": the General page.
    void ShowGeneralPage();

    // The live General settings, from the controls.
    GeneralPreferences generalSettings() const;
    // The General controls as they were when the dialog was last shown.
    const GeneralPreferences& GeneralSnapshot() const { return m_snapshot; }

    void LoadPreferences(const QString& section);
    void SavePreferences();

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

private:
    void buildGeneralPage();
    void buildProfilesPage();
    void showGeneral(const GeneralPreferences& settings);
    void chooseFolderInto(QLineEdit* edit);
    // The selected profile's file; empty when no profile is selected.
    QString selectedProfilePath() const;

    ProgramValues& m_values;
    IPrompts& m_prompts;
    MainWindowLink m_main;
    GeneralPreferences m_snapshot;
    QString m_workDirSnapshot;
};
