#pragma once

#include "dvd/discloader.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>
#include <memory>

class IDvdStructureReader;
class TTaskTree;

// What opening a disc does to the window around the task list.
struct DiscOpenerWindow {
    std::function<void()> hideBackground;
    std::function<void()> stopPreview;
    std::function<void(const QString&)> showHint;
    std::function<void()> hideHint;
    std::function<void(const QString&)> showError;
    std::function<void()> showFirstNode; // scroll the first node into view
    std::function<void()> enableSegment;
};

// OpenSourceFolder: the one way a disc folder is opened. The notice shows first; the disc is
// read away from the GUI thread so the window keeps painting; a later open supersedes an
// earlier one still in progress, so the last folder opened is the one shown.
class TDiscOpener : public QObject {
    Q_OBJECT
public:
    using ReaderFactory = std::function<std::unique_ptr<IDvdStructureReader>()>;

    TDiscOpener(TTaskTree& tree, TDVDInformation& info, ReaderFactory readers,
                DiscOpenerWindow window, QObject* parent = nullptr);
    ~TDiscOpener() override;

    void OpenSourceFolder(const QString& folder);
    bool isLoading() const { return m_loading; }
    // How long the notice shows before reading starts (600 ms; tests shorten it).
    void setNoticeDelay(int ms) { m_noticeDelay = ms; }

signals:
    void opened(); // the tree now shows the disc (or stays empty after an error)

private:
    void startLoading(int generation, const QString& folder);
    void finishLoading(int generation, const DiscLoadResult& loaded);

    TTaskTree& m_tree;
    TDVDInformation& m_info;
    ReaderFactory m_readers;
    DiscOpenerWindow m_window;
    int m_noticeDelay = 600;
    int m_generation = 0;
    bool m_loading = false;
};
