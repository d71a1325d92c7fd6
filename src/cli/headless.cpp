#include "cli/headless.h"

#include "cli/commandinputs.h"
#include "cli/convertcommand.h"
#include "cli/listing.h"
#include "cli/terminalout.h"
#include "core/producttexts.h"
#include "core/programvalues.h"
#include "dvd/discloader.h"
#include "dvd/tasktree.h"
#include "profiles/generalpreferencesfile.h"
#include "profiles/profilefile.h"
#include "profiles/profilereader.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

int runList(const CliOptions& o, const ProgramValues& values) {
    QString extension;
    const ProfileChoice profile = ChooseProfile(values, ReadStoredSettings(values).profileName, {});
    if (profile.error.isEmpty())
        extension = u'.' + ReadProfile(StandardProfileReader(profile.path)).type;
    TDVDInformation info; // an image's label names the outputs, as in the window
    TTaskTree tree([&info] { return info.VolumeName; }, [&extension] { return extension; });
    if (!LoadDiscEntry(o.disc, tree, info))
        return StatusFailed;
    if (o.json)
        out(QString::fromUtf8(
            QJsonDocument(ListingJson(tree, info.VolumeName)).toJson(QJsonDocument::Indented)));
    else
        out(ListingText(tree));
    return 0;
}

// The profiles with their numbers, as --profile takes them.
int runProfiles(const CliOptions& o, const ProgramValues& values) {
    const QStringList names = values.profileNames();
    if (o.json) {
        QJsonArray list;
        for (int i = 0; i < names.size(); ++i)
            list.append(QJsonObject{{QStringLiteral("number"), i + 1},
                                    {QStringLiteral("name"), names[i]},
                                    {QStringLiteral("file"), values.profilePath(names[i])}});
        out(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented)));
        return 0;
    }
    for (int i = 0; i < names.size(); ++i)
        out(QStringLiteral("%1\t%2\n").arg(i + 1).arg(Printable(names[i])));
    return 0;
}

} // namespace

int RunHeadless(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const CliParse parsed = ParseCliOptions(app.arguments().mid(1));
    setJsonFailures(parsed.error.isEmpty() ? parsed.options.json
                                           : app.arguments().contains(QStringLiteral("--json")));
    if (!parsed.error.isEmpty())
        return usageError(parsed.error);
    const ProgramValues values = LoadProgramValues(QCoreApplication::applicationDirPath());
    switch (parsed.options.mode) {
    case CliOptions::Mode::Help:
        out(CliUsage());
        return 0;
    case CliOptions::Mode::Version:
        out(QStringLiteral("%1 %2\n").arg(QString::fromLatin1(ProductTexts::ProductName),
                                          values.productVersion));
        return 0;
    case CliOptions::Mode::Profiles:
        return runProfiles(parsed.options, values);
    case CliOptions::Mode::List:
        return runList(parsed.options, values);
    case CliOptions::Mode::Convert:
        return TConvertCommand(parsed.options, values).run();
    }
    return StatusFailed;
}
