#include "cli/commandinputs.h"

#include "cli/clioptions.h"
#include "cli/terminalout.h"
#include "cli/terminalprompts.h"
#include "core/discentries.h"
#include "core/paths.h"
#include "core/programvalues.h"
#include "dvd/discloader.h"
#include "dvd/libdvdreadstructure.h"
#include "profiles/profilefile.h"
#include "profiles/settingsfile.h"

#include <cstdio>

#include <unistd.h>

ProfileChoice ChooseProfile(const ProgramValues& values, const QString& storedName,
                            const QString& requested) {
    const QStringList names = values.profileNames();
    if (!requested.isEmpty()) {
        const ProfileName chosen = ResolveProfileName(names, requested);
        if (!chosen.error.isEmpty())
            return {{}, chosen.error};
        return {values.profilePath(chosen.name), {}};
    }
    if (storedName.isEmpty())
        return {{}, QStringLiteral("no valid profile is stored; choose one with --profile")};
    return {values.profilePath(storedName), {}};
}

StoredSettings ReadStoredSettings(const ProgramValues& values) {
    TerminalPrompts prompts;
    return TSettingsFile(values, prompts).read(TSettingsFile::Reader::Standard);
}

bool LoadDiscEntry(const QString& entry, TTaskTree& tree, TDVDInformation& info) {
    // The argument is taken as the window takes it: a list file's entries, of which the last
    // that names something stays open, a file inside a disc's folder, an image, a folder.
    const CommandLineEntries entries = ReadCommandLineEntries({entry});
    if (!entries.error.isEmpty()) {
        fail(entries.error);
        return false;
    }
    QString disc;
    for (const QString& e : entries.entries)
        if (const QString folder = FolderForEntry(e); !folder.isEmpty())
            disc = folder;
    if (disc.isEmpty()) {
        const QString problem = AccessProblem(entry, false);
        fail(problem.isEmpty()
                 ? QStringLiteral("%1 names no disc folder, disc image or file").arg(entry)
                 : QStringLiteral("cannot open %1: %2").arg(entry, problem));
        return false;
    }
    // libdvdread prints its notices on standard output, which holds only the listing here.
    std::fflush(stdout);
    const int savedOutput = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    LibDvdReadStructure reader;
    DiscLoadResult loaded = LoadDisc(disc, reader);
    std::fflush(stdout);
    dup2(savedOutput, STDOUT_FILENO);
    close(savedOutput);
    if (!loaded.error.isEmpty() || loaded.titles.isEmpty()) {
        fail(loaded.error.isEmpty() ? QStringLiteral("no titles could be read from %1").arg(disc)
                                    : loaded.error);
        return false;
    }
    for (const QString& warning : loaded.warnings)
        err(warning);
    ApplyLoadedDisc(std::move(loaded), tree, info);
    return true;
}
