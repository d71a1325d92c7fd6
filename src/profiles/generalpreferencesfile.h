#pragma once

#include "core/preferences.h"
#include "core/programvalues.h"
#include "profiles/generalpreferencesfile.h"

class TNewInifile;

// The General settings in Preferences.ini as the settings dialog reads and writes them.

// One section, "Main" or "Default"; a missing key takes its value in `defaults`. Ask and
// Overwrite are read as they stand, both true included.
GeneralPreferences ReadGeneralPreferences(const TNewInifile& ini, const QString& section,
                                          const GeneralPreferences& defaults);

// One section ("Main" or "Default") read with the standard reader, as the main window and the
// command line read it.
GeneralPreferences ReadStandardGeneralPreferences(const QString& preferencesPath,
                                                  const QString& section,
                                                  const GeneralPreferences& defaults);
// The program's values for its folder, with the version stored in its Preferences.ini ("2.0"
// when none is); an installed copy's folders of the user's are made.
ProgramValues LoadProgramValues(const QString& programDir);

// Into [Main]: Output Path, Work Dir, Syn Mode, Auto Open Dir, Auto Exit, Auto Turn Off, Ask,
// Overwrite, Intermediate, in this order; booleans as "1" and "0".
void WriteGeneralPreferences(TNewInifile& ini, const GeneralPreferences& settings);
