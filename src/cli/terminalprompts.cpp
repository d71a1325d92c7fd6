#include "cli/terminalprompts.h"

#include <unistd.h>

namespace {
void printError(const QString& text) {
    // The dialogs' "\n\r" line breaks read as plain ones here.
    std::fputs(qPrintable(QString(text).remove(u'\r') + u'\n'), stderr);
    std::fflush(stderr);
}
} // namespace

bool TerminalPrompts::IsTerminal(FILE* file) {
    return isatty(fileno(file)) != 0;
}

void TerminalPrompts::inform(const QString& text, const QString&) {
    printError(text);
}

bool TerminalPrompts::ask(const QString& text, const QString&) {
    if (!m_interactive) {
        printError(text + QStringLiteral("\n(no terminal: answered No)"));
        return false;
    }
    for (;;) {
        std::fputs(qPrintable(u'\n' + QString(text).remove(u'\r') + QStringLiteral(" [y/n] ")),
                   stderr);
        std::fflush(stderr);
        char line[64];
        if (!std::fgets(line, sizeof line, m_input))
            return false;
        const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
        if (answer == u"y" || answer == u"yes")
            return true;
        if (answer == u"n" || answer == u"no")
            return false;
    }
}

std::optional<QString> TerminalPrompts::chooseFolder(const QString&, const QString&) {
    return std::nullopt;
}

std::optional<QString> TerminalPrompts::chooseOpenFile(const QString&, const QString&) {
    return std::nullopt;
}

std::optional<QString> TerminalPrompts::chooseSaveFile(const QString&, const QString&,
                                                       const QString&, const QString&) {
    return std::nullopt;
}
