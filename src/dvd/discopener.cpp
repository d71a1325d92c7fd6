#include "dvd/discopener.h"

#include "core/callbacks.h"

#include "core/paths.h"
#include "dvd/dvdstructure.h"
#include "dvd/tasktree.h"

#include <QPointer>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

TDiscOpener::TDiscOpener(TTaskTree& tree, TDVDInformation& info, ReaderFactory readers,
                         DiscOpenerWindow window, QObject* parent)
    : QObject(parent), m_tree(tree), m_info(info), m_readers(std::move(readers)),
      m_window(std::move(window)) {}

TDiscOpener::~TDiscOpener() {
    ++m_generation; // a load still running finds nobody to report to
}

void TDiscOpener::OpenSourceFolder(const QString& folder) {
    const int generation = ++m_generation;
    m_loading = true;
    CallIfSet(m_window.hideBackground);
    CallIfSet(m_window.stopPreview);
    m_tree.clear();
    if (m_window.showHint)
        m_window.showHint(QStringLiteral("Opening the DVD.   Please wait...."));
    const QString withSeparator = IsDiscImage(folder) ? folder : WithTrailingSeparator(folder);
    QTimer::singleShot(m_noticeDelay, this, [this, generation, withSeparator] {
        startLoading(generation, withSeparator);
    });
}

void TDiscOpener::startLoading(int generation, const QString& folder) {
    if (generation != m_generation)
        return;
    auto* watcher = new QFutureWatcher<DiscLoadResult>(this);
    connect(watcher, &QFutureWatcher<DiscLoadResult>::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        finishLoading(generation, watcher->result());
    });
    std::shared_ptr<IDvdStructureReader> reader = m_readers();
    watcher->setFuture(QtConcurrent::run([reader, folder] { return LoadDisc(folder, *reader); }));
}

void TDiscOpener::finishLoading(int generation, const DiscLoadResult& loaded) {
    if (generation != m_generation)
        return; // superseded by a later open
    m_loading = false;
    CallIfSet(m_window.hideHint);
    ApplyLoadedDisc(loaded, m_tree, m_info);
    if (!loaded.error.isEmpty() && m_window.showError)
        m_window.showError(loaded.error);
    m_tree.CheckLongestTitle();
    if (!m_tree.isEmpty()) {
        CallIfSet(m_window.showFirstNode);
        CallIfSet(m_window.enableSegment);
    }
    // What was left out is said over the finished list.
    if (loaded.error.isEmpty() && !loaded.warnings.isEmpty() && m_window.showError)
        m_window.showError(loaded.warnings.join(QStringLiteral("\n\n")));
    emit opened();
}
