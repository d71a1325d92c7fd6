#pragma once

#include "dvd/discloader.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>
#include <memory>

class IDvdStructureReader;
class TTaskTree;

// OpenSourceFolder: the one way a disc folder is opened. The notice shows first; the disc is
// read away from the GUI thread so the window keeps painting; a later open supersedes an
// earlier one still in progress, so the last folder opened is the one shown.
class TDiscOpener : public QObject {
    Q_OBJECT
public:
    using ReaderFactory = std::function<std::unique_ptr<IDvdStructureReader>()>;

    TDiscOpener(TTaskTree& tree, TDVDInformation& info, ReaderFactory readers,
                QObject* parent = nullptr);
    ~TDiscOpener() override;

    void OpenSourceFolder(const QString& folder);
    bool isLoading() const { return m_loading; }
    // The folder (ending in "/") or image last asked for; empty before the first open.
    const QString& folder() const { return m_folder; }
    // How long the notice shows before reading starts (600 ms; tests shorten it).
    void setNoticeDelay(int ms) { m_noticeDelay = ms; }

signals:
    // A folder is being opened: the tree is cleared and the notice about to show.
    void openingStarted(const QString& folder);
    void noticeShown(const QString& text);
    void noticeHidden();
    // What went wrong, or what of the disc was left out; said to the user as it stands.
    void problemFound(const QString& text);
    void nodesListed(); // the tree holds the disc's nodes, the longest title checked
    void opened();      // the tree now shows the disc (or stays empty after an error)

private:
    void startLoading(int generation, const QString& folder);
    void finishLoading(int generation, const DiscLoadResult& loaded);

    TTaskTree& m_tree;
    TDVDInformation& m_info;
    ReaderFactory m_readers;
    QString m_folder;
    int m_noticeDelay = 600;
    int m_generation = 0;
    bool m_loading = false;
};
