#include "convert/conversionitems.h"

#include "core/timetext.h"
#include "dvd/tasktree.h"

QList<ConversionItem> ConversionItemsOf(const TTaskTree& tree) {
    QList<ConversionItem> items;
    for (const QModelIndex& index : tree.checkedNodes()) {
        const TTaskNode* node = tree.node(index);
        const TTaskNode* title = tree.listNode(index);
        ConversionItem item;
        item.outputName = node->OutputName;
        const TItemSpan span = ConvertedSpan(*node);
        item.durationSeconds = span.end - span.start;
        item.encode.titleNumber = title->Number;
        item.encode.startText = SecondsToExactTimeText(span.start);
        item.encode.endText = SecondsToExactTimeText(span.end);
        item.frameRate = title->FrameRate;
        item.encode.audioLanguages = title->AudioLanguages;
        item.encode.audioStreamIds = title->AudioStreamIds;
        item.encode.audioLanguageIndex = node->AudioLanguageIndex;
        item.encode.subtitleIndex = node->SubtitleIndex;
        item.encode.titleAspect = title->Aspect;
        item.encode.titleLengthSeconds =
            title->CellEndSeconds >= 0 ? title->CellEndSeconds : title->OrigEndSeconds;
        const QModelIndex titleIndex = node->IsTitle ? index : index.parent();
        for (int row = 0; row < tree.rowCount(titleIndex); ++row) {
            const TTaskNode* chapter = tree.node(tree.index(row, 0, titleIndex));
            if (node->IsTitle || chapter == node)
                item.chapters << ChapterMark{chapter->Number, chapter->CellStartSeconds >= 0
                                                                  ? chapter->CellStartSeconds
                                                                  : chapter->OrigStartSeconds};
        }
        items << item;
    }
    return items;
}
