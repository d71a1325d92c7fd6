#pragma once

#include <QString>

// Every key of Preferences.ini, with its default. [Default] holds the same General keys as
// [Main]; "Load Default" in the settings dialog reads them from there.
namespace Prefs {

inline const QString FileName = QStringLiteral("Preferences.ini");

inline const QString MainSection = QStringLiteral("Main");
inline const QString DefaultSection = QStringLiteral("Default");

inline const QString Profile = QStringLiteral("Profile");           // integer, 0
inline const QString OutputPath = QStringLiteral("Output Path");    // text, the output default
inline const QString WorkDir = QStringLiteral("Work Dir");          // text, the work default
inline const QString SynMode = QStringLiteral("Syn Mode");          // integer, 0
inline const QString AutoOpenDir = QStringLiteral("Auto Open Dir"); // boolean, true
inline const QString AutoExit = QStringLiteral("Auto Exit");        // boolean, false
inline const QString AutoTurnOff = QStringLiteral("Auto Turn Off"); // boolean, false
inline const QString Ask = QStringLiteral("Ask");                   // boolean, true
inline const QString Overwrite = QStringLiteral("Overwrite");       // boolean, false
inline const QString Intermediate = QStringLiteral("Intermediate"); // integer, 0
inline const QString Version = QStringLiteral("Version");           // text, "2.0"
inline const QString FirstUse = QStringLiteral("FirstUse");         // boolean, true

inline constexpr int DefaultProfile = 0;
inline constexpr int DefaultSynMode = 0;
inline constexpr bool DefaultAutoOpenDir = true;
inline constexpr bool DefaultAutoExit = false;
inline constexpr bool DefaultAutoTurnOff = false;
inline constexpr bool DefaultAsk = true;
inline constexpr bool DefaultOverwrite = false;
// The intermediate file: 0 standard (the encoder at the profile's bit rate), 1 high (whole
// pictures and sound streamed to the transcoder, which makes the only loss).
inline constexpr int IntermediateStandard = 0;
inline constexpr int IntermediateHigh = 1;
inline constexpr int DefaultIntermediate = IntermediateStandard;
inline constexpr bool DefaultFirstUse = true;
inline const QString DefaultVersion = QStringLiteral("2.0");

} // namespace Prefs

// The General settings as stored in one section of Preferences.ini.
struct GeneralPreferences {
    QString outputPath;
    QString workDir;
    int synMode = Prefs::DefaultSynMode;
    bool autoOpenDir = Prefs::DefaultAutoOpenDir;
    bool autoExit = Prefs::DefaultAutoExit;
    bool autoTurnOff = Prefs::DefaultAutoTurnOff;
    bool ask = Prefs::DefaultAsk;
    bool overwrite = Prefs::DefaultOverwrite;
    int intermediate = Prefs::DefaultIntermediate;

    bool operator==(const GeneralPreferences&) const = default;

    // Every key at its default, with the folders given.
    static GeneralPreferences defaults(const QString& outputDir, const QString& workDir);

    // Hands every key with its field to text(key, QString&), number(key, int&) or
    // flag(key, bool&), in the order the keys are written: one list for every reader and writer.
    template <typename Text, typename Number, typename Flag>
    void forEachKey(Text text, Number number, Flag flag) {
        text(Prefs::OutputPath, outputPath);
        text(Prefs::WorkDir, workDir);
        number(Prefs::SynMode, synMode);
        flag(Prefs::AutoOpenDir, autoOpenDir);
        flag(Prefs::AutoExit, autoExit);
        flag(Prefs::AutoTurnOff, autoTurnOff);
        flag(Prefs::Ask, ask);
        flag(Prefs::Overwrite, overwrite);
        number(Prefs::Intermediate, intermediate);
    }
};
