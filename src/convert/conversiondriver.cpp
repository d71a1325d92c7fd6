#include "convert/conversiondriver.h"

#include "convert/outputnames.h"
#include "core/paths.h"
#include "core/producttexts.h"
#include "core/programvalues.h"
#include "core/timetext.h"
#include "platform/prompts.h"

#include <QDir>
#include <QFileInfo>

TConversionDriver::TConversionDriver(IToolRunner& runner, IPrompts& prompts,
                                     const ProgramValues& values, QObject* parent)
    : TConversionDriver(runner, prompts, values, std::make_unique<QtClock>(), nullptr, parent) {}

TConversionDriver::TConversionDriver(IToolRunner& runner, IPrompts& prompts,
                                     const ProgramValues& values, IClock& clock, QObject* parent)
    : TConversionDriver(runner, prompts, values, nullptr, &clock, parent) {}

TConversionDriver::TConversionDriver(IToolRunner& runner, IPrompts& prompts,
                                     const ProgramValues& values, std::unique_ptr<IClock> own,
                                     IClock* clock, QObject* parent)
    : QObject(parent), m_runner(runner), m_prompts(prompts), m_values(values),
      m_ownClock(std::move(own)), m_clock(clock ? *clock : *m_ownClock),
      m_timer(m_clock.createTimer(1000, [this] { tick(); })), m_figures(m_clock),
      m_item({runner, prompts, values, m_files, m_figures}) {
    connect(&m_item, &TItemConversion::progressChanged, this, &TConversionDriver::progressChanged);
    connect(&m_item, &TItemConversion::ended, this, &TConversionDriver::itemDone);
    connect(&m_item, &TItemConversion::encoderMissing, this, [this] {
        m_timer->setEnabled(false);
        m_prompts.inform(ReinstallMessage(), QString::fromLatin1(ProductTexts::ProductName));
        emit finished(Outcome::EncoderMissing);
    });
}

TConversionDriver::~TConversionDriver() = default;

void TConversionDriver::run(ConversionJob job) {
    m_job = std::move(job);
    m_failures.clear();
    m_skipped.clear();
    m_outputs.clear();
    // The work folder is settled once, here, for the whole run.
    m_job.workDir = WithTrailingSeparator(!m_job.workDir.isEmpty() && QDir(m_job.workDir).exists()
                                              ? m_job.workDir
                                              : m_values.folders.defaultWorkDir);
    m_files.settle(m_job.workDir);
    m_figures.startRun(m_job.items);
    m_state = ConversionState::Converting;
    m_index = -1;
    m_timer->setEnabled(true);
    emit progressChanged();
    nextItem();
}

void TConversionDriver::stop() {
    if (m_state != ConversionState::Converting)
        return;
    m_state = ConversionState::Cancelled;
    m_runner.terminate(IToolRunner::Encoder);
    m_runner.terminate(IToolRunner::Transcoder);
    m_item.stop();
}

void TConversionDriver::abandon() {
    const bool writing = m_item.writing();
    stop();
    removeIntermediate();
    if (writing)
        m_item.removeHalfWritten();
}

void TConversionDriver::nextItem() {
    if (m_state == ConversionState::Cancelled) {
        cancel();
        return;
    }
    ++m_index;
    if (m_index >= m_job.items.size()) {
        finishRun();
        return;
    }
    const ConversionItem& item = m_job.items[m_index];
    m_figures.startItem(RoundHalfEven(item.durationSeconds * ItemFrameRate(m_job, m_index, {})));
    emit progressChanged();

    m_outputPath = ChosenOutputPath(m_job, item, m_prompts, m_clock.localTime());
    if (m_outputPath.isEmpty()) {
        m_figures.skipItem(item.durationSeconds);
        m_outputPath = OutputPath(m_job, item);
        m_skipped << QFileInfo(m_outputPath).fileName();
        emit itemEnded(m_outputPath, ItemResult::Skipped, {});
        QMetaObject::invokeMethod(this, &TConversionDriver::nextItem, Qt::QueuedConnection);
        return;
    }
    m_outputs << m_outputPath;
    m_item.start(m_job, m_index, m_outputPath);
}

void TConversionDriver::itemDone(const std::optional<ItemFailure>& failure, bool cancelled) {
    if (failure)
        m_failures << *failure;
    if (!cancelled)
        emit itemEnded(m_outputPath, failure ? ItemResult::Failed : ItemResult::Converted,
                       failure ? failure->reason : QString());
    m_figures.itemDone();
    emit progressChanged();
    if (m_state == ConversionState::Cancelled || cancelled) {
        cancel();
        return;
    }
    QMetaObject::invokeMethod(this, &TConversionDriver::nextItem, Qt::QueuedConnection);
}

void TConversionDriver::tick() {
    if (m_state == ConversionState::Converting)
        m_item.checkEncoderStall(m_stallLimitMs);
    m_figures.tick();
    emit progressChanged();
}

void TConversionDriver::finishRun() {
    m_figures.finish();
    m_files.release();
    if (m_state == ConversionState::Converting)
        m_timer->setEnabled(false);
    m_state = ConversionState::Idle; // the run is over however its end is handled
    emit progressChanged();
    emit finished(Outcome::Completed);
}

void TConversionDriver::cancel() {
    m_timer->setEnabled(false);
    m_files.release();
    m_prompts.inform(QStringLiteral("The conversion is canceled."), QStringLiteral("Cancel"));
    m_state = ConversionState::Idle;
    emit finished(Outcome::Cancelled);
}
