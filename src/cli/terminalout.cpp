#include "cli/terminalout.h"

#include "cli/listing.h"
#include "cli/runreport.h"
#include "cli/terminalprompts.h"

#include <QJsonDocument>

#include <cstdio>

namespace {

// Every byte of the text, zero bytes included. Written to a reader that has gone, it raises
// SIGPIPE, which a conversion takes as Ctrl+C.
void write(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

bool g_jsonFailures = false;

} // namespace

void out(const QString& text) {
    write(stdout, text);
}

void err(const QString& text) {
    write(stderr, QStringLiteral("ripvale: ") + Printable(text) + u'\n');
}

void setJsonFailures(bool on) {
    g_jsonFailures = on;
}

void fail(const QString& text) {
    err(text);
    if (g_jsonFailures)
        out(QString::fromUtf8(
                QJsonDocument(QJsonObject{{QStringLiteral("event"), QStringLiteral("error")},
                                          {QStringLiteral("message"), text}})
                    .toJson(QJsonDocument::Compact)) +
            u'\n');
}

int usageError(const QString& text) {
    fail(text);
    err(QStringLiteral("Try 'ripvale --help' for more information."));
    return StatusUsage;
}

ProgressPrinter::ProgressPrinter(bool json)
    : m_json(json), m_terminal(TerminalPrompts::IsTerminal(stdout)) {}

void ProgressPrinter::show(const ConversionProgress& p) {
    if (m_json) {
        const QJsonObject step = ProgressJson(p);
        if (step != m_lastStep) // a step that changed nothing is not repeated
            showJson(step);
        m_lastStep = step;
        return;
    }
    const QString line = ProgressLine(p);
    if (line == m_last)
        return;
    m_last = line;
    if (m_terminal) {
        out(u'\r' + line + QStringLiteral("\x1b[K"));
        m_open = true;
    } else {
        out(line + u'\n');
    }
}

void ProgressPrinter::showJson(const QJsonObject& object) {
    const QString line = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    if (line != m_last)
        out(line + u'\n');
    m_last = line;
}

void ProgressPrinter::end() {
    if (m_open)
        out(QStringLiteral("\n"));
    m_open = false;
}
