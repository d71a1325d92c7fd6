#pragma once

#include "platform/prompts.h"

// The real prompts: message boxes and the folder browser over the active window.
class MessageBoxPrompts : public IPrompts {
public:
    void inform(const QString& text, const QString& caption) override;
    bool ask(const QString& text, const QString& caption) override;
    std::optional<QString> chooseFolder(const QString& caption,
                                        const QString& startFolder) override;
    std::optional<QString> chooseOpenFile(const QString& caption,
                                          const QString& nameFilter) override;
    std::optional<QString> chooseSaveFile(const QString& caption, const QString& nameFilter,
                                          const QString& defaultSuffix,
                                          const QString& startFolder) override;
};
