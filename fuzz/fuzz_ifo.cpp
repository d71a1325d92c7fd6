#include "dvd/parser.h"
#include "dvd/titletable.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

// Any bytes must either parse into a consistent record or fail with EIFOError, read as a title
// set's file and as the disc's own; sanitizers catch reads out of bounds and undefined
// behaviour on the way.

namespace {

bool consistent(const TIFO& ifo) {
    const TVTS_VOBS& vobs = ifo.VOBS;
    if (vobs.Audio.size() != vobs.AudioCount ||
        vobs.SubpictureLanguages.size() != vobs.SubpictureCount ||
        ifo.PGCI.Chains.size() != ifo.PGCI.Count)
        return false;
    for (const int chain : ifo.TitleChains)
        if (chain < 0 || chain >= ifo.PGCI.Count)
            return false;
    for (const TProgramChain& chain : ifo.PGCI.Chains) {
        if (chain.ProgramMap.size() != chain.ProgramCount ||
            chain.ChapterLengths.size() != chain.ProgramCount ||
            chain.ChapterStarts.size() != chain.ProgramCount ||
            chain.AudioAvailable.size() != vobs.AudioCount ||
            chain.SubpictureAvailable.size() != vobs.SubpictureCount ||
            chain.PlaybackTime.size() < 11)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        if (!consistent(ParseIFO(bytes, QStringLiteral("fuzz.IFO"))))
            std::abort();
    } catch (const EIFOError&) {
    }
    try {
        for (const TDiscTitle& title : ParseTitleTable(bytes, QStringLiteral("fuzz.IFO")))
            if (title.TitleSet < 1 || title.TitleSet > 99 || title.TitleInSet < 1 ||
                title.AngleCount < 1 || title.AngleCount > 9)
                std::abort();
    } catch (const EIFOError&) {
    }
    return 0;
}
