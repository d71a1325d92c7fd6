#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <type_traits>

// What the program keeps of one title-set information file (VTS_nn_0.IFO).

struct TVideoStream {
    QString Aspect;
    QString Standard;
    QString Coding;
    QString Resolution; // empty when the standard is neither NTSC nor PAL
};

struct TAudioStream {
    QString LanguageName;
    QString LanguageCode; // the two characters as stored on the disc
    QString Coding;
    quint8 Channels = 0; // 1 to 8
    QString CodeExtension;
    quint8 CodingMode = 0; // the three coding bits: 0 AC3, 2 MPEG1, 3 MPEG2, 4 LPCM, 6 DTS
};

struct TVTS_VOBS {
    quint16 AudioCount = 0;
    quint8 SubpictureCount = 0;
    TVideoStream Video;
    QList<TAudioStream> Audio;       // AudioCount entries
    QStringList SubpictureLanguages; // SubpictureCount language names
};

struct TProgramChain {
    quint8 ProgramCount = 0; // chapters
    quint8 CellCount = 0;
    QString PlaybackTime;        // "h:mm:ss.zzz"
    QList<quint8> ProgramMap;    // first cell of each chapter, counted from 1
    QStringList ChapterLengths;  // "h:mm:ss.zzz" per chapter
    QStringList ChapterStarts;   // "h:mm:ss.zzz" per chapter, from the start of the chain
    QString AudioAvailable;      // one '1' or '0' per audio stream of the title set
    QString SubpictureAvailable; // one '1' or '0' per subpicture stream
    // Per audio stream of the title set: the number of its packets in the VOBs (0 to 7), which
    // need not be its place in the title set's list.
    QList<quint8> AudioStreamNumbers;
    // The same times as numbers, so loading a disc need not read its own texts back.
    qint64 PlaybackMilliseconds = 0;
    QList<qint64> ChapterLengthMilliseconds;
    QList<qint64> ChapterStartMilliseconds;
};

struct TVTS_PGCI {
    quint16 Count = 0;
    QList<TProgramChain> Chains; // Count entries
};

struct TIFO {
    TVTS_VOBS VOBS;
    TVTS_PGCI PGCI;
    // Per title of the title set (the disc's title table counts them from 1): the index in
    // PGCI.Chains of the program chain its first chapter plays.
    QList<int> TitleChains;
};

// An information file that cannot be read or makes no sense. The message is meant for the
// user as it stands: ReadIFO names the file and says what is wrong with it.
class EIFOError : public std::runtime_error {
public:
    explicit EIFOError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Runs `read`; a failure comes out with `context` in front of its message. The context may be
// a function that makes the text, so nothing is formatted unless something fails.
template <typename Context, typename Read> auto InContext(const Context& context, Read&& read) {
    try {
        return read();
    } catch (const EIFOError& error) {
        if constexpr (std::is_invocable_v<Context>)
            throw EIFOError(context() + QStringLiteral(": ") + error.message());
        else
            throw EIFOError(context + QStringLiteral(": ") + error.message());
    }
}
