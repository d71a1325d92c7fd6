#include "convert/chaptermarks.h"

#include "convert/commandlines.h"

#include <cmath>

QList<ChapterMark> MarksInSpan(const QList<ChapterMark>& chapters, double start, double end,
                               double frameRate) {
    constexpr double shownRounding = 0.5;
    QList<ChapterMark> marks;
    for (const ChapterMark& c : chapters) {
        if (c.at >= end - shownRounding)
            break;
        if (c.at <= start + shownRounding) { // the chapter the span starts in, so far
            marks = {{c.number, 0}};
            continue;
        }
        if (marks.isEmpty()) // a span before the first chapter's start belongs to it
            marks << ChapterMark{c.number, 0};
        else
            // Counted in whole frames from the span's first, as the transcoder keeps them.
            marks << ChapterMark{c.number,
                                 OnFrameGrid(c.at, frameRate) - OnFrameGrid(start, frameRate)};
    }
    return marks;
}

bool HoldsChapters(const QString& outputExtension) {
    static const QStringList types = {QStringLiteral("mkv"), QStringLiteral("webm"),
                                      QStringLiteral("mp4"), QStringLiteral("m4v"),
                                      QStringLiteral("mov")};
    const QString type =
        outputExtension.startsWith(u'.') ? outputExtension.mid(1) : outputExtension;
    return types.contains(type, Qt::CaseInsensitive);
}

bool MarksLeftToProgram(const QStringList& transcoderArguments) {
    return !transcoderArguments.contains(QLatin1String("-map_chapters"));
}

QString ChapterTitle(int number) {
    return QStringLiteral("Chapter %1").arg(number, 2, 10, QChar(u'0'));
}

QByteArray ChapterMetadata(const QList<ChapterMark>& marks, double skipped, double length) {
    const auto ms = [skipped](double seconds) { return std::llround((seconds + skipped) * 1000); };
    QByteArray text = ";FFMETADATA1\n";
    for (qsizetype i = 0; i < marks.size(); ++i) {
        const double to = i + 1 < marks.size() ? marks[i + 1].at : length;
        text += "[CHAPTER]\nTIMEBASE=1/1000\nSTART=" + QByteArray::number(ms(marks[i].at)) +
                "\nEND=" + QByteArray::number(ms(to)) +
                "\ntitle=" + ChapterTitle(marks[i].number).toUtf8() + '\n';
    }
    return text;
}

QString KeyFrameTimes(const QList<ChapterMark>& marks) {
    QStringList times;
    for (const ChapterMark& m : marks)
        times << SecondsText(m.at);
    return times.join(u',');
}
