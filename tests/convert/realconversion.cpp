#include "realconversion.h"

#include "convert/conversiondriver.h"
#include "convert/jobbuilder.h"
#include "convert/toolrunner.h"
#include "core/paths.h"
#include "core/programvalues.h"
#include "dvd/libdvdreadstructure.h"
#include "profiles/standardini.h"
#include "support/fakes.h"
#include "support/testfiles.h"

#include <QSignalSpy>

OpenedDisc::OpenedDisc(const QString& folder) {
    LibDvdReadStructure reader;
    ApplyLoadedDisc(LoadDisc(folder, reader), tree, info);
}

QModelIndex OpenedDisc::only(int title, int chapter) {
    const QModelIndex t = tree.index(title - 1, 0);
    const QModelIndex item = chapter ? tree.index(chapter - 1, 0, t) : t;
    tree.applyCheckCommand(TTaskTree::CheckCommand::UncheckAll);
    tree.setChecked(item, true);
    return item;
}

RealConversions::RealConversions() : m_programDir(TestFiles::programDir()) {}

QString RealConversions::firstProfile(const QString& type) const {
    for (const QString& f : ListFilesWithExtension(m_programDir + "Profiles", ".apf"))
        if (StandardIni(m_programDir + "Profiles/" + f).readString("Main", "Type") == type)
            return m_programDir + "Profiles/" + f;
    return {};
}

QList<ItemFailure> RealConversions::convert(const QString& profilePath, const TTaskTree& tree,
                                            const TDVDInformation& info,
                                            const QHash<QString, QString>& shown,
                                            int intermediate) const {
    const ProgramValues values = ProgramValues::forProgramDir(m_programDir);
    const QString extension = u'.' + StandardIni(profilePath).readString("Main", "Type", "mp4");
    TToolRunner runner;
    FakePrompts prompts;
    TConversionDriver driver(runner, prompts, values);
    GeneralPreferences settings = values.defaultPreferences();
    settings.workDir = workFolder();
    settings.overwrite = true;
    settings.intermediate = intermediate;
    ConversionJobSource source =
        DiscJobSource(tree, info, extension, outputFolder(), settings, profilePath);
    const ShownText defaults = source.shownText;
    source.shownText = [defaults, shown](ParameterGroup g, const QString& key) {
        return shown.contains(key) ? std::optional<QString>(shown[key]) : defaults(g, key);
    };
    EncoderMemory memory;
    QSignalSpy done(&driver, &TConversionDriver::finished);
    driver.run(BuildConversionJob(source, memory));
    if (!done.wait(180000))
        return {{"", "the run did not end", ""}};
    return driver.failures();
}
