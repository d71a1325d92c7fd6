#include "convert/completion.h"

#include "core/paths.h"
#include "core/producttexts.h"
#include "platform/power.h"
#include "platform/prompts.h"
#include "platform/shell.h"

#include <QFile>

TCompletionActions::TCompletionActions(IPower& power, IPrompts& prompts, IShell& shell,
                                       const IClock& clock)
    : m_power(power), m_prompts(prompts), m_shell(shell), m_clock(clock) {}

QString TCompletionActions::RunReport(const RunResult& result) {
    const QList<ItemFailure>& failures = result.failures;
    const QStringList& skipped = result.skipped;
    if (failures.isEmpty() && skipped.isEmpty())
        return {};
    const auto count = [](qsizetype n, const char* one, const char* many) {
        return n == 1 ? QString::fromLatin1(one) : QString::fromLatin1(many).arg(n);
    };
    QString text;
    if (!failures.isEmpty()) {
        text = count(failures.size(), "The conversion is finished, but one item failed:\n",
                     "The conversion is finished, but %1 items failed:\n");
        for (const ItemFailure& f : failures) {
            text += QStringLiteral("\n%1: %2").arg(f.fileName, f.reason);
            if (!f.toolOutput.isEmpty())
                text += QStringLiteral("\n    ") + QString(f.toolOutput).replace(u'\n', "\n    ");
        }
        text += u'\n';
    }
    if (!skipped.isEmpty()) {
        text +=
            failures.isEmpty()
                ? count(skipped.size(), "The conversion is finished, but one item was skipped:\n",
                        "The conversion is finished, but %1 items were skipped:\n")
                : count(skipped.size(), "\nOne item was skipped:\n", "\n%1 items were skipped:\n");
        for (const QString& name : skipped)
            text += QStringLiteral("\n%1: skipped, the existing file was kept").arg(name);
        text += u'\n';
    }
    return text.chopped(1);
}

bool TCompletionActions::AppendRunReport(const QString& outputFolder, const QString& report,
                                         const QDateTime& now) {
    QFile file(WithTrailingSeparator(outputFolder) + QLatin1String(RunReportFileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    const QByteArray entry =
        (QStringLiteral("%1, %2\n")
             .arg(QString::fromLatin1(ProductTexts::ProductName), now.toString(Qt::ISODate)) +
         report + QStringLiteral("\n\n"))
            .toUtf8();
    return file.write(entry) == entry.size() && file.flush();
}

bool TCompletionActions::run(const CompletionChoices& choices, const RunResult& result,
                             const std::function<void(const QString&)>& setHint,
                             const std::function<void()>& closeWindow) {
    const QString report = RunReport(result);
    // Nobody will read a message box: the report goes where the outputs are.
    if ((choices.turnOff || choices.exitProgram) && !report.isEmpty())
        AppendRunReport(choices.outputFolderText, report, m_clock.localTime());
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
    if (report.isEmpty())
        m_prompts.inform(QStringLiteral("The conversion is completed successfully."),
                         QStringLiteral("Complete"));
    else
        m_prompts.inform(report, result.failures.isEmpty() ? QStringLiteral("Complete")
                                                           : QStringLiteral("Conversion failed"));
    if (choices.openFolder)
        m_shell.open(choices.outputFolderText);
    return true;
}
