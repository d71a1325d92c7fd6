#pragma once

#include "preview/playbackbackend.h"

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class TMpvProcess;

// The DVD player over mpv, run as a child process that draws into the video window. mpv plays
// one title of the disc folder at a time (dvd://N, N counted from 0) through libdvdnav; chapters
// are start positions and time jumps are seeks within that title. Everything is asynchronous:
// commands are written to mpv, and its events come back on the event loop. A player that dies
// fails the title it was playing; the next switch-on starts a new one.
class TMpvBackend : public IPlaybackBackend {
    Q_OBJECT
public:
    struct Options {
        // The native window to draw into, asked again at each switch-on; 0 for none.
        std::function<quint64()> windowId;
        // mpv's "vo" and "ao" lists. Only outputs that draw into a given window are named: mpv
        // would otherwise fall back to SDL, which opens a window of its own and takes over the
        // program's SIGTERM.
        QString videoOutput = QStringLiteral("gpu,xv,x11");
        QString audioOutput = QStringLiteral("pipewire,pulse,alsa,jack");
        QString program = QStringLiteral("mpv");
    };

    explicit TMpvBackend(Options options, QObject* parent = nullptr);
    // Ends the player (waiting for it at most a moment).
    ~TMpvBackend() override;

    void clear() override;
    void switchOn(bool on) override;
    PlaybackState state() const override { return m_state; }
    void renderVolume(const QString& ifoPath) override;
    void run() override;
    void pause() override;
    void stop() override;
    void playTitle(int title) override;
    void playChapterInTitle(int title, int chapter) override;
    void playAtTime(const DvdTimecode& time) override;
    void setSubpictureState(bool on) override;
    void selectSubpictureStream(int stream) override;

    // An mpv property read back at once (blocking briefly); for tests and diagnostics.
    QVariant playerProperty(const QString& name) const;
    bool isLoaded() const { return m_load == Load::Loaded; }

signals:
    void fileLoaded();        // the title asked for is open
    void playbackRestarted(); // playing from a new place after a load or a seek

private:
    enum class Load { None, Loading, Loaded };

    bool createCore(quint64 windowId);
    void destroyCore();
    bool playerRunning() const;
    void handleMessage(const QJsonObject& message);
    void handleReply(const QJsonObject& reply);
    void loadTitle(int title, int chapter);
    void command(const QStringList& args);
    void setPlayerProperty(const QString& name, const QString& value);
    void takeTrackList(const QVariantList& tracks);
    void playerEnded();
    void applySubtitle();
    void forgetLoad();
    void fail(const QString& reason);

    Options m_options;
    std::unique_ptr<TMpvProcess> m_mpv;
    quint64 m_windowId = 0;
    bool m_on = false;
    PlaybackState m_state = PlaybackState::NoGraph;
    QString m_device;

    Load m_load = Load::None;
    qint64 m_loadRequest = 0;   // reply number of the latest loadfile
    qint64 m_entryId = -1;      // its playlist entry, once mpv has answered
    qint64 m_startedEntry = -1; // the entry mpv is opening or playing
    std::optional<int> m_pendingSeek;
    QString m_lastError;

    bool m_subOn = false;
    int m_subStream = 0;
    bool m_subApplied = true;
    bool m_tracksKnown = false;
    QList<qint64> m_subTracks; // mpv's ids of the title's subtitle tracks, in list order
};
