#pragma once

#include "core/preferences.h"

#include <QObject>
#include <QString>

// The settings as Preferences.ini keeps them.
struct StoredSettings {
    GeneralPreferences general;
    int profileIndex = Prefs::DefaultProfile;
    QString profileName; // the profile at that place in the list; empty when there is none
};

// The program's settings as they stand: the General preferences (the output folder among them),
// the chosen profile and the extension its type gives the outputs. Their one owner: the settings
// dialog and the main window's profile list and output folder are editors of it, and each run's
// job is built from it.
class TSettings : public QObject {
    Q_OBJECT
public:
    explicit TSettings(const StoredSettings& stored = {}, QObject* parent = nullptr);

    const GeneralPreferences& general() const { return m_general; }
    void setGeneral(const GeneralPreferences& general);

    QString outputFolder() const { return m_general.outputPath; }
    void setOutputFolder(const QString& folder);
    // The work folder, ending in "/" (stored as typed); empty when none is set.
    QString workDir() const;

    // The profile list's selection: its place in the list (-1: none) and name.
    int profileIndex() const { return m_profileIndex; }
    const QString& profileName() const { return m_profileName; }
    void setProfile(int index, const QString& name);
    // "." + the loaded profile's Type.
    const QString& outputExtension() const { return m_outputExtension; }
    void setOutputExtension(const QString& extension);

signals:
    void changed();

private:
    GeneralPreferences m_general;
    int m_profileIndex = Prefs::DefaultProfile;
    QString m_profileName;
    QString m_outputExtension;
};
