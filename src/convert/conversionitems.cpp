#include "convert/conversionitems.h"

#include "dvd/tasktree.h"

QList<ConversionItem> ConversionItemsOf(const TTaskTree& tree) {
    QList<ConversionItem> items;
    for (const QModelIndex& index : tree.checkedNodes()) {
        const TTaskNode* node = tree.node(index);
        const TTaskNode* title = tree.listNode(index);
        ConversionItem item;
        item.outputName = node->OutputName;
        item.durationSeconds = node->EndSeconds - node->StartSeconds;
        item.encode.titleNumber = title->Number;
        item.encode.startText = node->StartText;
        item.encode.endText = node->EndText;
        item.frameRate = title->FrameRate;
        item.encode.audioLanguages = title->AudioLanguages;
        item.encode.audioStreamIds = title->AudioStreamIds;
        item.encode.audioLanguageIndex = node->AudioLanguageIndex;
        item.encode.subtitleIndex = node->SubtitleIndex;
        item.encode.titleAspect = title->Aspect;
        item.encode.titleLengthSeconds = title->OrigEndSeconds;
        items << item;
    }
    return items;
}
