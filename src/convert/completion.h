#pragma once

#include "conversiondriver.h"

#include <functional>

class IPower;
class IPrompts;
class IShell;

// What happens after the last item of a run that was not cancelled: turn the machine off,
// exit, or say how it went and open the output folder.
struct CompletionChoices {
    bool turnOff = false; // the hint panel's check box, as it stands at the end
    bool exitProgram = false;
    bool openFolder = false;
    QString outputFolderText; // the output folder edit's text
};

class TCompletionActions {
public:
    TCompletionActions(IPower& power, IPrompts& prompts, IShell& shell);

    // Runs the actions; `setHint` shows the turning-off notice, `closeWindow` ends the program.
    // Returns true when the program goes on (neither turned off nor exiting).
    bool run(const CompletionChoices& choices, const QList<ItemFailure>& failures,
             const std::function<void(const QString&)>& setHint,
             const std::function<void()>& closeWindow);

    // The report of a run in which items failed, shown instead of the success message.
    static QString FailureReport(const QList<ItemFailure>& failures);

private:
    IPower& m_power;
    IPrompts& m_prompts;
    IShell& m_shell;
};
