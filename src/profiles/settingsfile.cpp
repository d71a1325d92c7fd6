#include "profiles/settingsfile.h"

#include "core/programvalues.h"
#include "profiles/generalpreferencesfile.h"
#include "profiles/inifilesession.h"
#include "profiles/standardini.h"

TSettingsFile::TSettingsFile(const ProgramValues& values, IPrompts& prompts)
    : m_values(values), m_prompts(prompts) {}

StoredSettings TSettingsFile::read(Reader reader) const {
    GeneralPreferences general = m_values.defaultPreferences();
    if (reader == Reader::Dialog)
        general = readGeneral(Prefs::MainSection).value_or(general);
    else
        general =
            ReadStandardGeneralPreferences(m_values.preferencesPath(), Prefs::MainSection, general);
    const StandardIni prefs(m_values.preferencesPath());
    general.outputPath =
        prefs.readString(Prefs::MainSection, Prefs::OutputPath, m_values.folders.defaultOutputDir);
    const int index = prefs.readInteger(Prefs::MainSection, Prefs::Profile, Prefs::DefaultProfile);
    return {general, index, m_values.profileNames().value(index)};
}

std::optional<GeneralPreferences> TSettingsFile::readGeneral(const QString& section) const {
    std::optional<GeneralPreferences> read;
    WithNewInifile(m_values.preferencesPath(), m_prompts, [&](TNewInifile& ini) {
        read = ReadGeneralPreferences(ini, section, m_values.defaultPreferences());
    });
    return read;
}

void TSettingsFile::saveGeneral(const GeneralPreferences& general) const {
    WithNewInifile(m_values.preferencesPath(), m_prompts,
                   [&general](TNewInifile& ini) { WriteGeneralPreferences(ini, general); });
}

void TSettingsFile::saveChoice(const TSettings& settings) const {
    StandardIni prefs(m_values.preferencesPath());
    QString error;
    if (!prefs.writeInteger(Prefs::MainSection, Prefs::Profile, settings.profileIndex(), &error) ||
        !prefs.writeString(Prefs::MainSection, Prefs::OutputPath, settings.outputFolder(), &error))
        qWarning("Preferences could not be saved: %s", qPrintable(error));
}
