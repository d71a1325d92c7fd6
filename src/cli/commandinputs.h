#pragma once

#include "core/settings.h"

#include <QString>

class TTaskTree;
struct ProgramValues;
struct TDVDInformation;

// What the command line reads before it lists or converts: the stored settings, the profile and
// the disc.

struct ProfileChoice {
    QString path;
    QString error;
};

// The profile asked for by number or name, else the stored one (`storedName`, empty for none).
ProfileChoice ChooseProfile(const ProgramValues& values, const QString& storedName,
                            const QString& requested);

// The stored settings, read without changing any file.
StoredSettings ReadStoredSettings(const ProgramValues& values);

// The disc an argument names, loaded into `tree` and `info`; false, said, when there is none.
bool LoadDiscEntry(const QString& entry, TTaskTree& tree, TDVDInformation& info);
