#include "cli/listing.h"

#include "core/timetext.h"
#include "dvd/ifonames.h"
#include "dvd/tasktree.h"

#include <QJsonArray>

namespace {

QJsonArray toArray(const QStringList& list) {
    return QJsonArray::fromStringList(list);
}

// ISO 639-2's "undetermined" for a track whose disc leaves its language unset.
QString languageShown(const QString& code) {
    return code.isEmpty() ? QStringLiteral("und") : code;
}

QJsonArray languagesJson(const QStringList& codes) {
    QJsonArray list;
    for (const QString& code : codes)
        list.append(languageShown(code));
    return list;
}

QJsonObject nodeJson(const TTaskTree& tree, const QModelIndex& index) {
    const TTaskNode* n = tree.node(index);
    const auto cell = [&](int column) { return tree.cellText(index.siblingAtColumn(column)); };
    const TItemSpan span = ConvertedSpan(*n); // what converting it takes, to the millisecond
    return QJsonObject{{QStringLiteral("number"), n->Number},
                       {QStringLiteral("caption"), cell(TTaskTree::TitleColumn)},
                       {QStringLiteral("start"), cell(TTaskTree::StartColumn)},
                       {QStringLiteral("end"), cell(TTaskTree::EndColumn)},
                       {QStringLiteral("output"), cell(TTaskTree::OutputColumn)},
                       {QStringLiteral("start_s"), span.start},
                       {QStringLiteral("end_s"), span.end},
                       {QStringLiteral("duration_s"), span.end - span.start}};
}

// A track by number from 1, or by language code among `entries` that hold codes or language
// names; the first `skip` entries are no tracks. -1 when none fits.
int trackEntry(const QString& choice, const QStringList& codes, int skip) {
    bool isNumber = false;
    const int number = choice.toInt(&isNumber);
    if (isNumber)
        return number >= 1 && number + skip - 1 < codes.size() ? number + skip - 1 : -1;
    for (int i = skip; i < codes.size(); ++i)
        if (codes[i].compare(choice, Qt::CaseInsensitive) == 0 ||
            codes[i].compare(LanguageName(choice.toLower()), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

QString Printable(QString text) {
    for (QChar& c : text)
        if ((c.unicode() < 0x20 && c != u'\n' && c != u'\t') || c.unicode() == 0x7F)
            c = QChar::ReplacementCharacter;
    return text;
}

QString ListingText(const TTaskTree& tree) {
    // The disc's own texts may hold anything; tabs and line ends are the listing's.
    const auto shown = [](const QString& t) {
        return Printable(QString(t).replace(u'\t', u' ').replace(u'\n', u' '));
    };
    QString text;
    for (const QModelIndex& index : tree.allNodes()) {
        const QJsonObject n = nodeJson(tree, index);
        const TTaskNode* node = tree.node(index);
        const QString indent = node->IsTitle ? QString() : QStringLiteral("    ");
        text += indent + QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                             .arg(node->Number)
                             .arg(shown(n[QStringLiteral("caption")].toString()),
                                  n[QStringLiteral("start")].toString(),
                                  n[QStringLiteral("end")].toString(),
                                  shown(n[QStringLiteral("output")].toString()));
        if (node->IsTitle) {
            QStringList audio;
            for (int i = 0; i < node->AudioTracks.size(); ++i)
                audio << QStringLiteral("%1 (%2)").arg(
                    shown(node->AudioTracks[i]), languageShown(node->AudioLanguages.value(i)));
            text += QStringLiteral("  audio: %1\n  subtitles: %2\n  angles: %3\n")
                        .arg(audio.isEmpty() ? QStringLiteral("none")
                                             : audio.join(QStringLiteral(", ")),
                             node->Subtitles.mid(1).isEmpty()
                                 ? QStringLiteral("none")
                                 : shown(node->Subtitles.mid(1).join(QStringLiteral(", "))))
                        .arg(node->AngleCount);
        }
    }
    return text;
}

QJsonObject ListingJson(const TTaskTree& tree, const QString& volumeName) {
    QJsonArray titles;
    for (int row = 0; row < tree.rowCount(); ++row) {
        const QModelIndex title = tree.index(row, 0);
        const TTaskNode* node = tree.node(title);
        QJsonObject t = nodeJson(tree, title);
        t[QStringLiteral("audio")] = toArray(node->AudioTracks);
        t[QStringLiteral("audioLanguages")] = languagesJson(node->AudioLanguages);
        QJsonArray ids;
        for (const int id : node->AudioStreamIds)
            ids.append(id);
        t[QStringLiteral("audio_stream_ids")] = ids;
        t[QStringLiteral("subtitles")] = toArray(node->Subtitles.mid(1));
        t[QStringLiteral("angles")] = node->AngleCount;
        QJsonArray chapters;
        for (int c = 0; c < tree.rowCount(title); ++c)
            chapters.append(nodeJson(tree, tree.index(c, 0, title)));
        t[QStringLiteral("chapters")] = chapters;
        titles.append(t);
    }
    return QJsonObject{{QStringLiteral("volume"), volumeName}, {QStringLiteral("titles"), titles}};
}

QString SelectItems(TTaskTree& tree, const CliOptions& o) {
    tree.applyCheckCommand(TTaskTree::CheckCommand::UncheckAll);
    if (o.titles.isEmpty() && o.chapters.isEmpty())
        tree.CheckLongestTitle();
    for (int number : o.titles) {
        if (number > tree.rowCount())
            return QStringLiteral("the disc has no title %1 (it has %2)")
                .arg(number)
                .arg(tree.rowCount());
        tree.setChecked(tree.index(number - 1, 0), true);
    }
    for (auto it = o.chapters.cbegin(); it != o.chapters.cend(); ++it) {
        if (it.key() > tree.rowCount())
            return QStringLiteral("the disc has no title %1 (it has %2)")
                .arg(it.key())
                .arg(tree.rowCount());
        const QModelIndex title = tree.index(it.key() - 1, 0);
        for (int chapter : it.value()) {
            if (chapter > tree.rowCount(title))
                return QStringLiteral("title %1 has no chapter %2 (it has %3)")
                    .arg(it.key())
                    .arg(chapter)
                    .arg(tree.rowCount(title));
            tree.setChecked(tree.index(chapter - 1, 0, title), true);
        }
    }
    for (const QModelIndex& index : tree.checkedNodes()) {
        const TTaskNode* title = tree.listNode(index);
        if (!o.audio.isEmpty()) {
            const int entry = trackEntry(o.audio, title->AudioLanguages, 0);
            if (entry < 0)
                return QStringLiteral("title %1 has no audio track %2 (it has: %3)")
                    .arg(title->Number)
                    .arg(o.audio, title->AudioLanguages.join(QStringLiteral(", ")));
            tree.writeChoice(index, TTaskTree::Choice::Audio, entry);
        }
        if (!o.subtitle.isEmpty()) {
            const int entry = o.subtitle.compare(u"none", Qt::CaseInsensitive) == 0
                                  ? 0
                                  : trackEntry(o.subtitle, title->Subtitles, 1);
            if (entry < 0)
                return QStringLiteral("title %1 has no subtitle %2 (it has: %3)")
                    .arg(title->Number)
                    .arg(o.subtitle, title->Subtitles.mid(1).join(QStringLiteral(", ")));
            tree.writeChoice(index, TTaskTree::Choice::Subtitle, entry);
        }
        if (o.start || o.end) {
            // Counted from where the item's cells begin, as the untrimmed item converts.
            const TTaskNode* n = tree.node(index);
            const TItemSpan whole = ConvertedSpan(*n);
            const double start = whole.start + o.start.value_or(0);
            const double end = o.end ? std::min(whole.start + *o.end, whole.end) : whole.end;
            if (start >= end)
                return QStringLiteral("--start %1 lies beyond the end of %2 (%3 long)")
                    .arg(SecondsToTimeText(o.start.value_or(0)), n->OutputName,
                         SecondsToTimeText(whole.end - whole.start));
            tree.setSpan(index, SecondsToExactTimeText(start), SecondsToExactTimeText(end));
        }
    }
    return {};
}
