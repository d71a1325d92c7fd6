#include "support/fakes.h"

void FakePrompts::inform(const QString& text, const QString& caption) {
    notices.append({text, caption});
}

bool FakePrompts::ask(const QString& text, const QString& caption) {
    questions.append({text, caption});
    return answers.isEmpty() ? false : answers.takeFirst();
}

std::optional<QString> FakePrompts::chooseFolder(const QString& caption, const QString&) {
    folderCaptions << caption;
    return folders.isEmpty() ? std::nullopt : folders.takeFirst();
}

std::optional<QString> FakePrompts::chooseOpenFile(const QString&, const QString& nameFilter) {
    openFilters << nameFilter;
    return openFiles.isEmpty() ? std::nullopt : openFiles.takeFirst();
}

std::optional<QString> FakePrompts::chooseSaveFile(const QString& caption,
                                                   const QString& nameFilter,
                                                   const QString& defaultSuffix,
                                                   const QString& startFolder) {
    saveRequests.append({caption, nameFilter, defaultSuffix, startFolder});
    return saveFiles.isEmpty() ? std::nullopt : saveFiles.takeFirst();
}

bool FakeShell::open(const QString& target) {
    opened << target;
    return result;
}

bool FakePower::inhibitSleep() {
    ++inhibitCalls;
    return true;
}

void FakePower::powerOff() {
    ++powerOffCalls;
}
