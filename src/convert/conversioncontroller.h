#pragma once

#include "convert/completion.h"
#include "convert/conversiondriver.h"
#include "convert/profileoptions.h"
#include "core/preferences.h"

#include <QObject>

#include <memory>

class INotifier;
class IPower;
class IPrompts;
class IShell;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QWidget;
class TSettings;
class TTaskTree;
struct ProgramValues;
struct TDVDInformation;

// Start and Stop on the main window: the checks, the window's converting state, the progress
// display and what follows the run.
class TConversionController : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        QWidget* imgStart;
        QWidget* imgStop;
        QList<QWidget*> disabledWhileConverting;
        QWidget* panBottomLeft;
        QWidget* panBottomCenter;
        QProgressBar* pgbCurrent;
        QProgressBar* pgbTotal;
        QLabel* labCurProgress;
        QLabel* labTotalProgress;
        QLabel* labFrame;
        QLabel* labElapsed;
        QLabel* labRemaining;
        QLineEdit* edtOutputDir; // focused when its folder cannot be used
        QComboBox* cmbProfile;   // likewise for the profile
        QCheckBox* chkTurnoff;
    };
    // What the run needs from the rest of the program.
    struct Sources {
        const TTaskTree& tree; // its checked nodes are the run's items
        const TDVDInformation& dvd;
        const TSettings& settings;
        ShownText shownText; // the profile's values as the window's grids show them
    };

    // `runner` runs the tools; the controller keeps it for as long as it lives.
    // `notifier` tells the desktop how the run goes when the window is out of sight.
    TConversionController(Widgets widgets, Sources sources, const ProgramValues& values,
                          IPrompts& prompts, IShell& shell, IPower& power, INotifier& notifier,
                          std::unique_ptr<IToolRunner> runner, QObject* parent = nullptr);
    ~TConversionController() override;

    void imgStartClick();
    void imgStopClick();

    TConversionDriver& driver() { return *m_driver; }
    bool isConverting() const { return m_running; }

signals:
    void runStarted(); // the window is in its converting state; the preview must stop
    void runEnded(TConversionDriver::Outcome outcome);
    // The hint panel: opened with a text, its text changed while open, closed.
    void hintShown(const QString& text);
    void hintChanged(const QString& text);
    void hintHidden();
    void closeRequested(); // the run's end exits the program

private:
    void startState();
    void endState();
    void showProgress();
    void runFinished(TConversionDriver::Outcome outcome);
    void showProgressPanel(bool show);
    void tellTheDesktop(TConversionDriver::Outcome outcome);

    Widgets m_w;
    Sources m_sources;
    const ProgramValues& m_values;
    IPrompts& m_prompts;
    INotifier& m_notifier;
    // The driver refers to the runner: made after it, ended first by the destructor.
    std::unique_ptr<IToolRunner> m_runner;
    std::unique_ptr<TConversionDriver> m_driver;
    QtClock m_clock; // the time of the run report
    TCompletionActions m_completion;
    EncoderMemory m_memory; // kept for as long as the program runs
    QString m_lastHint;
    bool m_running = false;
};
