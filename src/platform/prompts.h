#pragma once

#include <QString>

#include <optional>

// The questions and notices the program puts to the user in modal dialogs. Tests answer them
// through a fake, so no modal loop ever runs in a test.
class IPrompts {
public:
    virtual ~IPrompts() = default;

    // A notice with an information icon and an OK button.
    virtual void inform(const QString& text, const QString& caption) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool ask(const QString& text, const QString& caption) = 0;
    // The folder browser; nothing when the user cancels.
    virtual std::optional<QString> chooseFolder(const QString& caption,
                                                const QString& startFolder) = 0;
    // The open dialog for one kind of file (`nameFilter` as below); nothing when the user
    // cancels.
    virtual std::optional<QString> chooseOpenFile(const QString& caption,
                                                  const QString& nameFilter) = 0;
    // The save dialog for one kind of file: `nameFilter` such as "Profiles (*.apf)", and
    // `defaultSuffix` added to a name typed without one. An existing file is chosen without a
    // question. It opens in `startFolder` where one is given. Nothing when the user cancels.
    virtual std::optional<QString> chooseSaveFile(const QString& caption, const QString& nameFilter,
                                                  const QString& defaultSuffix,
                                                  const QString& startFolder) = 0;
};
