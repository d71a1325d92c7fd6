#include "profiles/profileformat.h"

ParameterGroup ParameterGroupFor(int sort, const ParameterGroup* previous) {
    if (sort >= 1 && sort <= 3)
        return ParameterGroup(sort);
    return previous ? *previous : ParameterGroup::Advanced;
}

QStringList SplitCommaList(const QString& text) {
    QStringList entries = text.split(u',');
    entries.removeLast(); // the text after the last comma (or the whole text) is no entry
    return entries;
}

qsizetype CaptionIndex(const QStringList& captions, const QString& text) {
    for (qsizetype i = 0; i < captions.size(); ++i)
        if (captions[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
