#pragma once

#include <QString>

#include <optional>

class IPrompts;
class TParameterGroups;

// Which reader loads a profile: the main window reads with the standard INI reader, the settings
// dialog with TNewInifile (which also writes the file back).
enum class ProfileReaderKind { Standard, NewInifile };

// LoadProfile: when a file exists at `path`, replaces the rows of `grids` with the profile's. An
// Index outside its captions is reported as "List index out of bounds (n)" through `prompts`;
// the rows read up to it stay. Returns the output extension, "." + Type; nothing when there is no
// file, or when TNewInifile cannot read it (reported too), and the grids then keep what they show.
std::optional<QString> LoadProfile(TParameterGroups& grids, const QString& path,
                                   ProfileReaderKind reader, IPrompts& prompts);

// SaveProfile: writes the grids' values into the profile file at `path` with TNewInifile. False
// when the file cannot be read or written, which is reported through `prompts`.
bool SaveProfile(const TParameterGroups& grids, const QString& path, IPrompts& prompts);
