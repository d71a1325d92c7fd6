#pragma once

#include "convert/conversiondriver.h"

#include <QJsonObject>
#include <QString>

// What the command line says, on standard output and standard error, and its exit statuses.

inline constexpr int StatusFailed = 1;
inline constexpr int StatusUsage = 2;
inline constexpr int StatusSkipped = 3; // every item done, but some were skipped

// Every byte of the text, zero bytes included, on standard output.
void out(const QString& text);
// "ripvale: " and the text, made printable, as a line on standard error.
void err(const QString& text);
// With --json a script reads standard output only: a failure is said there as well.
void setJsonFailures(bool on);
void fail(const QString& text);
// A failure, with the pointer to --help; StatusUsage.
int usageError(const QString& text);

// A run's progress: one line kept up to date on a terminal, a line a step elsewhere, or one JSON
// object a step.
class ProgressPrinter {
public:
    explicit ProgressPrinter(bool json);
    void show(const ConversionProgress& p);
    // One object a line; a step that changed nothing is not repeated.
    void showJson(const QJsonObject& object);
    // Ends the line kept up to date.
    void end();

private:
    bool m_json;
    bool m_terminal;
    bool m_open = false;
    QString m_last;
    QJsonObject m_lastStep;
};
