#pragma once

#include "convert/completion.h"
#include "convert/conversiondriver.h"
#include "convert/profileoptions.h"
#include "core/preferences.h"

#include <QObject>

#include <functional>
#include <memory>

class IPower;
class IPrompts;
class IShell;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QWidget;
struct ProgramValues;

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
        QLineEdit* edtOutputDir;
        QComboBox* cmbProfile;
        QCheckBox* chkTurnoff;
    };
    // What the run needs from the rest of the program.
    struct Sources {
        std::function<QList<ConversionItem>()> checkedItems;
        std::function<QString()> volumeName;
        std::function<double()> frameRate;
        std::function<QString()> discPath;
        std::function<GeneralPreferences()> generalSettings;
        ShownText shownText;
    };
    struct WindowActions {
        std::function<void(const QString&)> showHint;
        std::function<void()> hideHint;
        std::function<void(const QString&)> setHint;
        std::function<void()> stopPreview;
        std::function<void()> closeWindow;
    };

    // `runner` runs the tools; the controller keeps it for as long as it lives.
    TConversionController(Widgets widgets, Sources sources, WindowActions actions,
                          ProgramValues& values, IPrompts& prompts, IShell& shell, IPower& power,
                          std::unique_ptr<IToolRunner> runner, QObject* parent = nullptr);
    ~TConversionController() override;

    void imgStartClick();
    void imgStopClick();

    TConversionDriver& driver() { return *m_driver; }
    bool isConverting() const { return m_running; }

signals:
    void runEnded(TConversionDriver::Outcome outcome);

private:
    void startState();
    void endState();
    void showProgress();
    void runFinished(TConversionDriver::Outcome outcome);
    void showProgressPanel(bool show);

    Widgets m_w;
    Sources m_sources;
    WindowActions m_actions;
    ProgramValues& m_values;
    IPrompts& m_prompts;
    std::unique_ptr<IToolRunner> m_runner;
    TConversionDriver* m_driver;
    TCompletionActions m_completion;
    EncoderMemory m_memory; // kept for as long as the program runs
    QString m_lastHint;
    bool m_running = false;
};
