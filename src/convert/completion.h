#pragma once

#include "convert/conversiondriver.h"

#include <QDateTime>

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

// How a run went, for its report.
struct RunResult {
    QList<ItemFailure> failures;
    QStringList skipped; // output files kept because the user chose not to overwrite them
};

// Where a run that turns the machine off or exits leaves its report when items failed or were
// skipped: this file in the output folder, each run appended.
inline constexpr char RunReportFileName[] = "ripvale-report.txt";

class TCompletionActions {
public:
    TCompletionActions(IPower& power, IPrompts& prompts, IShell& shell, const IClock& clock);

    // Runs the actions; `setHint` shows the turning-off notice, `closeWindow` ends the program.
    // Returns true when the program goes on (neither turned off nor exiting).
    bool run(const CompletionChoices& choices, const RunResult& result,
             const std::function<void(const QString&)>& setHint,
             const std::function<void()>& closeWindow);

    // The report of a run in which items failed or were skipped, shown instead of the success
    // message; empty when every item was converted.
    static QString RunReport(const RunResult& result);
    // Appends the report to the output folder's report file; false when it cannot be written.
    static bool AppendRunReport(const QString& outputFolder, const QString& report,
                                const QDateTime& now);

private:
    IPower& m_power;
    IPrompts& m_prompts;
    IShell& m_shell;
    const IClock& m_clock;
};
