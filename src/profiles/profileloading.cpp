#include "profiles/profileloading.h"

#include "core/producttexts.h"
#include "platform/prompts.h"
#include "profiles/inifilesession.h"
#include "profiles/parametergroups.h"
#include "profiles/profilefile.h"
#include "profiles/profilereader.h"

#include <QFileInfo>

std::optional<QString> LoadProfile(TParameterGroups& grids, const QString& path,
                                   ProfileReaderKind reader, IPrompts& prompts) {
    if (!QFileInfo::exists(path))
        return std::nullopt;
    std::optional<ProfileRows> rows;
    if (reader == ProfileReaderKind::Standard) {
        rows = ReadProfile(StandardProfileReader(path));
    } else {
        // Rows read before a failed write-back are shown all the same: the file was read whole.
        WithNewInifile(path, prompts,
                       [&rows](TNewInifile& ini) { rows = ReadProfile(NewIniProfileReader(ini)); });
    }
    if (!rows)
        return std::nullopt;
    grids.showProfile(*rows);
    if (rows->badIndex)
        prompts.inform(rows->error(), QString::fromLatin1(ProductTexts::ProductName));
    return u'.' + rows->type;
}

bool SaveProfile(const TParameterGroups& grids, const QString& path, IPrompts& prompts) {
    return WithNewInifile(path, prompts,
                          [&grids](TNewInifile& ini) { WriteProfileValues(ini, grids.lookup()); });
}
