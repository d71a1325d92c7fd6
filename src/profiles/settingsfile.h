#pragma once

#include "core/settings.h"

#include <QString>

#include <optional>

class IPrompts;
struct ProgramValues;

// Preferences.ini as the program keeps its settings there: read into the settings when the
// program starts, its General keys written by the settings dialog's OK, the chosen profile and
// the output folder written as the main window closes.
class TSettingsFile {
public:
    // How the General keys are read: by the settings dialog's reader, which reports a file it
    // cannot read through `prompts` and writes the file back, or by the standard reader alone
    // (the command line, which changes no file).
    enum class Reader { Dialog, Standard };

    TSettingsFile(const ProgramValues& values, IPrompts& prompts);

    // Every stored setting, missing keys at their defaults; the profile and output folder by the
    // standard reader in either case.
    StoredSettings read(Reader reader) const;
    // One section's General keys ("Main" or "Default") by the dialog's reader; nothing when the
    // file cannot be read.
    std::optional<GeneralPreferences> readGeneral(const QString& section) const;
    void saveGeneral(const GeneralPreferences& general) const;
    // The chosen profile's place in the list and the output folder.
    void saveChoice(const TSettings& settings) const;

private:
    const ProgramValues& m_values;
    IPrompts& m_prompts;
};
