#include "dvd/discopener.h"

#include "core/paths.h"
#include "dvd/dvdstructure.h"
#include "dvd/tasktree.h"

#include <QPointer>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

TDiscOpener::TDiscOpener(TTaskTree& tree, TDVDInformation& info, ReaderFactory readers,
                         QObject* parent)
    : QObject(parent), m_tree(tree), m_info(info), m_readers(std::move(readers)) {}

TDiscOpener::~TDiscOpener() {
    ++m_generation; // a load still running finds nobody to report to
}

void TDiscOpener::OpenSourceFolder(const QString& folder) {
    const int generation = ++m_generation;
    m_loading = true;
    m_folder = IsDiscImage(folder) ? folder : WithTrailingSeparator(folder);
    emit openingStarted(m_folder);
    m_tree.clear();
    emit noticeShown(QStringLiteral("Opening the DVD.   Please wait...."));
    QTimer::singleShot(m_noticeDelay, this,
                       [this, generation, folder = m_folder] { startLoading(generation, folder); });
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
    emit noticeHidden();
    ApplyLoadedDisc(loaded, m_tree, m_info);
    if (!loaded.error.isEmpty() && !loaded.nothingThere)
        emit problemFound(loaded.error);
    m_tree.CheckLongestTitle();
    if (!m_tree.isEmpty())
        emit nodesListed();
    // What was left out is said over the finished list.
    if (loaded.error.isEmpty() && !loaded.warnings.isEmpty())
        emit problemFound(loaded.warnings.join(QStringLiteral("\n\n")));
    emit opened();
}
