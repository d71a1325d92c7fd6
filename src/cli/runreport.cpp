#include "cli/runreport.h"

#include "convert/completion.h"

#include <QFileInfo>

namespace {

// The output name in the window's hint "Converting: VOLUME-NAME.ext", without an empty volume's
// dash.
QString ItemOfHint(const QString& hint) {
    QString item = hint;
    item.remove(QStringLiteral("Converting: "));
    if (item.startsWith(u'-'))
        item.remove(0, 1);
    return item;
}

} // namespace

QString ProgressLine(const ConversionProgress& p) {
    const QString item = ItemOfHint(p.hintText);
    return QStringLiteral("%1 item %2% total %3% frames %4 elapsed %5 remaining %6")
        .arg(item.isEmpty() ? QStringLiteral("preparing") : item)
        .arg(p.current)
        .arg(p.total)
        .arg(p.framesText.isEmpty() ? QStringLiteral("0") : p.framesText,
             p.elapsedText.isEmpty() ? QStringLiteral("00:00:00") : p.elapsedText,
             p.remainingText.isEmpty() ? QStringLiteral("--:--:--") : p.remainingText);
}

QJsonObject ProgressJson(const ConversionProgress& p) {
    QJsonObject o{{QStringLiteral("event"), QStringLiteral("progress")},
                  {QStringLiteral("item"), ItemOfHint(p.hintText)},
                  {QStringLiteral("percent"), p.current},
                  {QStringLiteral("total_percent"), p.total},
                  {QStringLiteral("frames"), p.frames},
                  {QStringLiteral("frames_total"), p.framesTotal},
                  {QStringLiteral("elapsed_s"), p.elapsedSeconds}};
    o[QStringLiteral("remaining_s")] =
        p.remainingSeconds < 0 ? QJsonValue() : QJsonValue(p.remainingSeconds);
    return o;
}

QJsonObject ItemJson(const QString& outputPath, ItemResult result, const QString& reason) {
    static const char* const words[] = {"converted", "failed", "skipped"};
    QJsonObject o{{QStringLiteral("event"), QStringLiteral("item")},
                  {QStringLiteral("item"), QFileInfo(outputPath).completeBaseName()},
                  {QStringLiteral("result"), QString::fromLatin1(words[int(result)])},
                  {QStringLiteral("file"), outputPath}};
    if (!reason.isEmpty())
        o[QStringLiteral("reason")] = reason;
    return o;
}

QJsonObject RunResultJson(const RunResult& result, const QStringList& outputs, bool canceled) {
    const qsizetype failed = result.failures.size();
    // Each begun item is converted, failed, or (when the run was canceled) the one cut off.
    const qsizetype converted =
        std::max<qsizetype>(0, outputs.size() - failed - (canceled ? 1 : 0));
    QJsonObject o{{QStringLiteral("event"), QStringLiteral("done")},
                  {QStringLiteral("converted"), converted},
                  {QStringLiteral("failed"), failed},
                  {QStringLiteral("skipped"), result.skipped.size()}};
    if (canceled)
        o[QStringLiteral("canceled")] = true;
    return o;
}
