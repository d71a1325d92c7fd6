#include "core/settings.h"

#include "core/paths.h"

TSettings::TSettings(const StoredSettings& stored, QObject* parent)
    : QObject(parent), m_general(stored.general), m_profileIndex(stored.profileIndex),
      m_profileName(stored.profileName) {}

void TSettings::setGeneral(const GeneralPreferences& general) {
    if (general == m_general)
        return;
    m_general = general;
    emit changed();
}

void TSettings::setOutputFolder(const QString& folder) {
    GeneralPreferences p = m_general;
    p.outputPath = folder;
    setGeneral(p);
}

QString TSettings::workDir() const {
    // None set is none: the run then takes the program's own work folder, never "/".
    return m_general.workDir.isEmpty() ? QString() : WithTrailingSeparator(m_general.workDir);
}

void TSettings::setProfile(int index, const QString& name) {
    if (index == m_profileIndex && name == m_profileName)
        return;
    m_profileIndex = index;
    m_profileName = name;
    emit changed();
}

void TSettings::setOutputExtension(const QString& extension) {
    if (extension == m_outputExtension)
        return;
    m_outputExtension = extension;
    emit changed();
}
