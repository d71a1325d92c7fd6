#include "completion.h"

#include "power.h"
#include "prompts.h"
#include "shell.h"

TCompletionActions::TCompletionActions(IPower& power, IPrompts& prompts, IShell& shell)
    : m_power(power), m_prompts(prompts), m_shell(shell) {}

QString TCompletionActions::FailureReport(const QList<ItemFailure>& failures) {
    QString text = failures.size() == 1
                       ? QStringLiteral("The conversion is finished, but one item failed:\n")
                       : QStringLiteral("The conversion is finished, but %1 items failed:\n")
                             .arg(failures.size());
    for (const ItemFailure& f : failures) {
        text += QStringLiteral("\n%1: %2").arg(f.fileName, f.reason);
        if (!f.toolOutput.isEmpty())
            text += QStringLiteral("\n    ") + QString(f.toolOutput).replace(u'\n', "\n    ");
    }
    return text;
}

bool TCompletionActions::run(const CompletionChoices& choices, const QList<ItemFailure>& failures,
                             const std::function<void(const QString&)>& setHint,
                             const std::function<void()>& closeWindow) {
    if (choices.turnOff) {
        if (setHint)
            setHint(QStringLiteral("Conversion is completed. Turning off the computer..."));
        m_power.powerOff();
        if (closeWindow)
            closeWindow();
        return false;
    }
    if (choices.exitProgram) {
        if (closeWindow)
            closeWindow();
        return false;
    }
    if (failures.isEmpty())
        m_prompts.inform(QStringLiteral("The conversion is completed successfully."),
                         QStringLiteral("Complete"));
    else
        m_prompts.inform(FailureReport(failures), QStringLiteral("Conversion failed"));
    if (choices.openFolder)
        m_shell.open(choices.outputFolderText);
    return true;
}
