#include "platform/messageboxprompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

void MessageBoxPrompts::inform(const QString& text, const QString& caption) {
    QMessageBox::information(QApplication::activeWindow(), caption, text);
}

bool MessageBoxPrompts::ask(const QString& text, const QString& caption) {
    return QMessageBox::question(QApplication::activeWindow(), caption, text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> MessageBoxPrompts::chooseFolder(const QString& caption,
                                                       const QString& startFolder) {
    const QString folder = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), caption, startFolder, QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QString> MessageBoxPrompts::chooseOpenFile(const QString& caption,
                                                         const QString& nameFilter) {
    const QString file =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, QString(), nameFilter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> MessageBoxPrompts::chooseSaveFile(const QString& caption,
                                                         const QString& nameFilter,
                                                         const QString& defaultSuffix,
                                                         const QString& startFolder) {
    QFileDialog dialog(QApplication::activeWindow(), caption, startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(nameFilter);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
