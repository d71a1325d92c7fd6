#pragma once

#include "platform/prompts.h"

#include <cstdio>

// The prompts of the headless mode: notices go to standard error; a question is put on the
// terminal when standard input is one and answered No without one. No folder or file dialog.
class TerminalPrompts final : public IPrompts {
public:
    // `input` and `interactive` let tests answer without a terminal.
    explicit TerminalPrompts(FILE* input = stdin, bool interactive = IsTerminal(stdin))
        : m_input(input), m_interactive(interactive) {}

    void inform(const QString& text, const QString& caption) override;
    bool ask(const QString& text, const QString& caption) override;
    std::optional<QString> chooseFolder(const QString& caption,
                                        const QString& startFolder) override;
    std::optional<QString> chooseOpenFile(const QString& caption,
                                          const QString& nameFilter) override;
    std::optional<QString> chooseSaveFile(const QString& caption, const QString& nameFilter,
                                          const QString& defaultSuffix,
                                          const QString& startFolder) override;

    static bool IsTerminal(FILE* file);

private:
    FILE* m_input;
    bool m_interactive;
};
