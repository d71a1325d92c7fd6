#include "generalpreferencesfile.h"

#include "newinifile.h"

GeneralPreferences ReadGeneralPreferences(const TNewInifile& ini, const QString& section,
                                          const QString& programDir) {
    GeneralPreferences p = GeneralPreferences::defaults(programDir);
    p.outputPath = ini.ReadString(section, Prefs::OutputPath, p.outputPath);
    p.workDir = ini.ReadString(section, Prefs::WorkDir, p.workDir);
    p.synMode = ini.ReadInteger(section, Prefs::SynMode, p.synMode);
    p.autoOpenDir = ini.ReadBool(section, Prefs::AutoOpenDir, p.autoOpenDir);
    p.autoExit = ini.ReadBool(section, Prefs::AutoExit, p.autoExit);
    p.autoTurnOff = ini.ReadBool(section, Prefs::AutoTurnOff, p.autoTurnOff);
    p.ask = ini.ReadBool(section, Prefs::Ask, p.ask);
    p.overwrite = ini.ReadBool(section, Prefs::Overwrite, p.overwrite);
    return p;
}

void WriteGeneralPreferences(TNewInifile& ini, const GeneralPreferences& p) {
    const QString& s = Prefs::MainSection;
    ini.WriteString(s, Prefs::OutputPath, p.outputPath);
    ini.WriteString(s, Prefs::WorkDir, p.workDir);
    ini.WriteInteger(s, Prefs::SynMode, p.synMode);
    ini.WriteBool(s, Prefs::AutoOpenDir, p.autoOpenDir);
    ini.WriteBool(s, Prefs::AutoExit, p.autoExit);
    ini.WriteBool(s, Prefs::AutoTurnOff, p.autoTurnOff);
    ini.WriteBool(s, Prefs::Ask, p.ask);
    ini.WriteBool(s, Prefs::Overwrite, p.overwrite);
}
