#include "convert/conversioncontroller.h"

#include "convert/conversionitems.h"
#include "convert/jobbuilder.h"
#include "core/paths.h"
#include "core/programvalues.h"
#include "core/settings.h"
#include "platform/notifier.h"
#include "platform/prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

TConversionController::TConversionController(Widgets widgets, Sources sources,
                                             const ProgramValues& values, IPrompts& prompts,
                                             IShell& shell, IPower& power, INotifier& notifier,
                                             std::unique_ptr<IToolRunner> runner, QObject* parent)
    : QObject(parent), m_w(std::move(widgets)), m_sources(std::move(sources)), m_values(values),
      m_prompts(prompts), m_notifier(notifier), m_runner(std::move(runner)),
      m_driver(std::make_unique<TConversionDriver>(*m_runner, prompts, values)),
      m_completion(power, prompts, shell, m_clock) {
    connect(m_driver.get(), &TConversionDriver::progressChanged, this,
            &TConversionController::showProgress);
    connect(m_driver.get(), &TConversionDriver::finished, this,
            &TConversionController::runFinished);
    m_w.chkTurnoff->setText(
        QStringLiteral("Turn off the computer after the conversion is completed."));
}

TConversionController::~TConversionController() {
    // Closing the window during a run ends the running tools; their half-made files go too.
    if (m_running)
        m_driver->abandon();
    m_driver.reset(); // before the runner it drives, whatever the members' order
}

void TConversionController::imgStartClick() {
    if (m_running)
        return;
    if (ConversionItemsOf(m_sources.tree).isEmpty()) {
        m_prompts.inform(QStringLiteral("Please have Titles and Chapters you want to convert "
                                        "checked."),
                         QStringLiteral("No Title or Chapter checked"));
        return;
    }
    const TSettings& chosen = m_sources.settings;
    const QString outputText = chosen.outputFolder();
    if (!OutputFolderUsable(outputText)) {
        m_prompts.inform(QStringLiteral("The output path does not exist. Please specify another "
                                        "one."),
                         QStringLiteral("Output path does not exist"));
        m_w.edtOutputDir->setFocus();
        return;
    }
    const QString profilePath = m_values.profilePath(chosen.profileName());
    if (chosen.profileName().isEmpty() || !QFileInfo::exists(profilePath)) {
        m_prompts.inform(QStringLiteral("Please select a valid output profile."),
                         QStringLiteral("Profile"));
        m_w.cmbProfile->setFocus();
        return;
    }

    const GeneralPreferences& settings = chosen.general();
    startState();
    m_w.chkTurnoff->setChecked(settings.autoTurnOff);
    m_w.chkTurnoff->show();

    ConversionJobSource source = DiscJobSource(
        m_sources.tree, m_sources.dvd, chosen.outputExtension(), outputText, settings, profilePath);
    source.shownText = m_sources.shownText; // what the window's grids show, edits included
    ConversionJob job = BuildConversionJob(source, m_memory);

    m_w.labElapsed->clear();
    m_w.labRemaining->clear();
    showProgressPanel(true);
    m_lastHint.clear();
    m_driver->run(std::move(job));
}

void TConversionController::imgStopClick() {
    m_driver->stop();
}

namespace {
// One of Start and Stop stands in the other's place; the keyboard focus goes with it.
void swapStartStop(QWidget* from, QWidget* to) {
    const bool focused = from->hasFocus();
    to->show();
    from->hide();
    if (focused)
        to->setFocus(Qt::OtherFocusReason);
}
} // namespace

void TConversionController::startState() {
    m_running = true;
    for (QWidget* w : std::as_const(m_w.disabledWhileConverting))
        w->setEnabled(false);
    swapStartStop(m_w.imgStart, m_w.imgStop);
    emit runStarted();
    emit hintShown(QStringLiteral("Preparing to convert. Please wait..."));
}

void TConversionController::endState() {
    m_driver->removeIntermediate();
    for (QWidget* w : std::as_const(m_w.disabledWhileConverting))
        w->setEnabled(true);
    swapStartStop(m_w.imgStop, m_w.imgStart);
    emit hintHidden();
    m_running = false;
}

void TConversionController::showProgressPanel(bool show) {
    m_w.panBottomLeft->setVisible(show);
    m_w.panBottomCenter->setVisible(!show);
}

void TConversionController::showProgress() {
    const ConversionProgress& p = m_driver->progress();
    m_w.pgbCurrent->setValue(p.current);
    m_w.pgbTotal->setValue(p.total);
    m_w.labCurProgress->setText(QString::number(m_w.pgbCurrent->value()) + u'%');
    m_w.labTotalProgress->setText(QString::number(m_w.pgbTotal->value()) + u'%');
    m_w.labFrame->setText(p.framesText);
    m_w.labElapsed->setText(p.elapsedText);
    m_w.labRemaining->setText(p.remainingText);
    m_notifier.setProgress(p.total / 100.0, true);
    if (p.hintText != m_lastHint && !p.hintText.isEmpty()) {
        m_lastHint = p.hintText;
        emit hintChanged(p.hintText);
    }
}

void TConversionController::tellTheDesktop(TConversionDriver::Outcome outcome) {
    m_notifier.setProgress(0, false);
    if (m_w.imgStart->window()->isActiveWindow())
        return; // the window says it itself
    switch (outcome) {
    case TConversionDriver::Outcome::Completed: {
        const QString report =
            TCompletionActions::RunReport({m_driver->failures(), m_driver->skipped()});
        if (report.isEmpty())
            m_notifier.notify(QStringLiteral("The conversion is completed successfully."),
                              m_sources.settings.outputFolder());
        else
            m_notifier.notify(report.section(u'\n', 0, 0), report.section(u'\n', 1).trimmed());
        break;
    }
    case TConversionDriver::Outcome::Cancelled:
        m_notifier.notify(QStringLiteral("The conversion is canceled."), QString());
        break;
    case TConversionDriver::Outcome::EncoderMissing:
        m_notifier.notify(QStringLiteral("The conversion could not start."),
                          QStringLiteral("The encoder is missing."));
        break;
    }
}

void TConversionController::runFinished(TConversionDriver::Outcome outcome) {
    tellTheDesktop(outcome); // before the actions that may end the program
    switch (outcome) {
    case TConversionDriver::Outcome::Completed: {
        emit hintHidden();
        const GeneralPreferences& settings = m_sources.settings.general();
        CompletionChoices choices;
        choices.turnOff = m_w.chkTurnoff->isChecked();
        choices.exitProgram = settings.autoExit;
        choices.openFolder = settings.autoOpenDir;
        choices.outputFolderText = settings.outputPath;
        m_running = false; // a window closed by the actions must not cancel anything
        const auto setHint = [this](const QString& text) { emit hintChanged(text); };
        const auto closeWindow = [this] { emit closeRequested(); };
        if (m_completion.run(choices, {m_driver->failures(), m_driver->skipped()}, setHint,
                             closeWindow)) {
            showProgressPanel(false);
            endState();
        }
        break;
    }
    case TConversionDriver::Outcome::Cancelled:
    case TConversionDriver::Outcome::EncoderMissing:
        showProgressPanel(false);
        endState();
        break;
    }
    emit runEnded(outcome);
}
