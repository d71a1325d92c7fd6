#pragma once

#include "cli/clioptions.h"
#include "cli/terminalout.h"
#include "cli/terminalprompts.h"
#include "convert/conversiondriver.h"
#include "convert/toolrunner.h"
#include "core/settings.h"
#include "dvd/discloader.h"
#include "dvd/tasktree.h"

#include <memory>
#include <optional>

class TTerminationSignals;
struct ProgramValues;

// `--convert`, composed as the window is: the settings from the stored ones and the options, the
// disc and its chosen items, the job, the driver over the real tools with the progress printer,
// and the termination signals, each made once and connected here.
class TConvertCommand {
public:
    TConvertCommand(const CliOptions& options, const ProgramValues& values);
    ~TConvertCommand();
    TConvertCommand(const TConvertCommand&) = delete;
    TConvertCommand& operator=(const TConvertCommand&) = delete;

    // Converts, and gives the exit status.
    int run();

private:
    // The settings, profile, disc and job; a status when the run cannot start.
    std::optional<int> prepare();
    void connectDriver();
    void finished(TConversionDriver::Outcome outcome);

    const CliOptions& m_o;
    const ProgramValues& m_values;
    TerminalPrompts m_prompts;
    TSettings m_settings;
    TDVDInformation m_info;
    TTaskTree m_tree;
    ConversionJob m_job;
    TToolRunner m_runner;
    TConversionDriver m_driver; // refers to the runner: made after it, it goes first
    ProgressPrinter m_printer;
    // Ctrl+C, a kill, a closed terminal and a reader gone cancel as Stop does; watched only
    // while the run goes on.
    std::unique_ptr<TTerminationSignals> m_signals;
    int m_status = StatusFailed;
};
