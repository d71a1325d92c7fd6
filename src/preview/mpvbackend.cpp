#include "preview/mpvbackend.h"

#include "preview/mpvprocess.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QTimer>
#include <QVariantMap>

namespace {
constexpr qint64 TrackListObserver = 1;
constexpr qint64 TrackListRequest = 2;
const qint64 FirstLoadRequest = 1000; // above the fixed reply numbers

const QString PlayerStoppedText = QStringLiteral("The video player stopped unexpectedly.");
const QString PlayerCannotStartText = QStringLiteral("The video player could not start.");

QString text(const QJsonObject& o, const char* key) {
    return o.value(QLatin1String(key)).toString();
}

} // namespace

TMpvBackend::TMpvBackend(Options options, QObject* parent)
    : IPlaybackBackend(parent), m_options(std::move(options)), m_loadRequest(FirstLoadRequest) {}

TMpvBackend::~TMpvBackend() {
    if (m_mpv)
        m_mpv->disconnect(this);
    m_mpv.reset();
}

void TMpvBackend::clear() {
    stop();
    m_device.clear();
}

void TMpvBackend::switchOn(bool on) {
    if (!on) {
        clear();
        m_on = false;
        m_state = PlaybackState::NoGraph;
        return;
    }
    const quint64 windowId = m_options.windowId ? m_options.windowId() : 0;
    // mpv takes its window when it starts; a window made anew needs a new player, and so does
    // one that has died.
    if (!playerRunning() || windowId != m_windowId) {
        destroyCore();
        createCore(windowId);
    }
    m_on = true;
    m_state = PlaybackState::Stopped;
}

void TMpvBackend::renderVolume(const QString& ifoPath) {
    if (!m_on)
        return;
    // mpv takes a disc folder, or an image as it is.
    const QFileInfo file(ifoPath);
    const bool image = file.suffix().compare(QLatin1String("IFO"), Qt::CaseInsensitive) != 0;
    m_device = image ? file.absoluteFilePath() : file.absolutePath();
}

void TMpvBackend::run() {
    if (!m_on)
        return;
    m_state = PlaybackState::Running;
    setPlayerProperty(QStringLiteral("pause"), QStringLiteral("no"));
}

void TMpvBackend::pause() {
    if (m_state != PlaybackState::Running)
        return;
    m_state = PlaybackState::Paused;
    setPlayerProperty(QStringLiteral("pause"), QStringLiteral("yes"));
}

void TMpvBackend::stop() {
    if (m_load != Load::None)
        command({QStringLiteral("stop")});
    forgetLoad();
    if (m_on)
        m_state = PlaybackState::Stopped;
}

void TMpvBackend::playTitle(int title) {
    loadTitle(title, 0);
}

void TMpvBackend::playChapterInTitle(int title, int chapter) {
    loadTitle(title, chapter);
}

void TMpvBackend::playAtTime(const DvdTimecode& time) {
    const int seconds = time.totalSeconds();
    if (m_load == Load::Loading)
        m_pendingSeek = seconds; // mpv cannot seek before the title is open
    else if (m_load == Load::Loaded)
        command({QStringLiteral("seek"), QString::number(seconds), QStringLiteral("absolute")});
}

void TMpvBackend::setSubpictureState(bool on) {
    m_subOn = on;
    m_subApplied = false;
    applySubtitle();
}

void TMpvBackend::selectSubpictureStream(int stream) {
    m_subStream = stream;
    m_subApplied = false;
    applySubtitle();
}

QVariant TMpvBackend::playerProperty(const QString& name) const {
    if (!playerRunning())
        return {};
    const QJsonObject reply = m_mpv->request(
        {{QStringLiteral("command"), QJsonArray{QStringLiteral("get_property"), name}}});
    if (text(reply, "error") != QLatin1String("success"))
        return {};
    return reply.value(QStringLiteral("data")).toVariant();
}

bool TMpvBackend::createCore(quint64 windowId) {
    destroyCore();
    m_windowId = windowId;
    QStringList options = {
        QStringLiteral("--config=no"),
        QStringLiteral("--terminal=no"),
        QStringLiteral("--input-terminal=no"),
        QStringLiteral("--idle=yes"),
        QStringLiteral("--keep-open=yes"), // the last picture stays until the count stops it
        QStringLiteral("--input-default-bindings=no"),
        QStringLiteral("--input-vo-keyboard=no"),
        QStringLiteral("--input-cursor=no"),
        QStringLiteral("--cursor-autohide=no"),
        QStringLiteral("--osd-level=0"),
        QStringLiteral("--audio-display=no"),
        QStringLiteral("--hwdec=auto-safe"),
        // None of mpv's own scripts and overlays: the pane has its own controls.
        QStringLiteral("--load-scripts=no"),
        QStringLiteral("--osc=no"),
        QStringLiteral("--load-stats-overlay=no"),
        QStringLiteral("--load-osd-console=no"),
        QStringLiteral("--load-auto-profiles=no"),
        QStringLiteral("--ytdl=no"),
        // OpenGL only: where the Vulkan probe fails (no GPU: Xvfb, VMs, remote desktops) it
        // closes file descriptor 0, which it never opened, and may break the X connection.
        QStringLiteral("--gpu-api=opengl"),
    };
    if (!m_options.videoOutput.isEmpty())
        options << QStringLiteral("--vo=") + m_options.videoOutput;
    if (!m_options.audioOutput.isEmpty())
        options << QStringLiteral("--ao=") + m_options.audioOutput;
    if (windowId != 0)
        options << QStringLiteral("--wid=%1").arg(windowId);

    m_mpv = std::make_unique<TMpvProcess>();
    connect(m_mpv.get(), &TMpvProcess::received, this, &TMpvBackend::handleMessage);
    connect(m_mpv.get(), &TMpvProcess::ended, this, &TMpvBackend::playerEnded);
    if (!m_mpv->start(m_options.program, options)) {
        m_mpv.reset();
        return false;
    }
    command({QStringLiteral("request_log_messages"), QStringLiteral("error")});
    m_mpv->send(
        {{QStringLiteral("command"), QJsonArray{QStringLiteral("observe_property"),
                                                TrackListObserver, QStringLiteral("track-list")}}});
    return true;
}

void TMpvBackend::destroyCore() {
    if (!m_mpv)
        return;
    m_mpv->disconnect(this);
    // The player may be the one whose message is being handled right now.
    m_mpv.release()->deleteLater();
    forgetLoad();
}

bool TMpvBackend::playerRunning() const {
    return m_mpv && m_mpv->isRunning();
}

void TMpvBackend::handleMessage(const QJsonObject& message) {
    const QString event = text(message, "event");
    if (event.isEmpty()) {
        handleReply(message);
    } else if (event == QLatin1String("log-message")) {
        m_lastError = text(message, "text").trimmed();
    } else if (event == QLatin1String("start-file")) {
        m_startedEntry = message.value(QStringLiteral("playlist_entry_id")).toInteger(-1);
        m_tracksKnown = false;
    } else if (event == QLatin1String("file-loaded")) {
        if (m_load != Load::Loading || m_entryId < 0 || m_startedEntry != m_entryId)
            return; // a title asked for earlier, since replaced
        m_load = Load::Loaded;
        if (m_pendingSeek) {
            command({QStringLiteral("seek"), QString::number(*m_pendingSeek),
                     QStringLiteral("absolute")});
            m_pendingSeek.reset();
        }
        // The observed list may be the last title's until mpv reports a change, and an unchanged
        // list is never reported: ask for it.
        m_mpv->send({{QStringLiteral("command"),
                      QJsonArray{QStringLiteral("get_property"), QStringLiteral("track-list")}},
                     {QStringLiteral("request_id"), TrackListRequest}});
        applySubtitle();
        emit fileLoaded();
        emit started();
    } else if (event == QLatin1String("playback-restart")) {
        if (m_load == Load::Loaded && m_startedEntry == m_entryId)
            emit playbackRestarted();
    } else if (event == QLatin1String("end-file")) {
        if (text(message, "reason") == QLatin1String("error") &&
            message.value(QStringLiteral("playlist_entry_id")).toInteger(-2) == m_entryId &&
            m_load != Load::None)
            fail(m_lastError.isEmpty() ? text(message, "file_error") : m_lastError);
    } else if (event == QLatin1String("property-change")) {
        if (message.value(QStringLiteral("id")).toInteger() == TrackListObserver &&
            m_load == Load::Loaded) {
            takeTrackList(message.value(QStringLiteral("data")).toArray().toVariantList());
            // A title's subtitle track may show up only once its first picture is read.
            applySubtitle();
        }
    }
}

void TMpvBackend::handleReply(const QJsonObject& reply) {
    const qint64 id = reply.value(QStringLiteral("request_id")).toInteger();
    const bool success = text(reply, "error") == QLatin1String("success");
    if (id == m_loadRequest && m_load == Load::Loading) {
        if (!success)
            fail(text(reply, "error"));
        else
            m_entryId = reply.value(QStringLiteral("data"))
                            .toObject()
                            .value(QStringLiteral("playlist_entry_id"))
                            .toInteger(-1);
    } else if (id == TrackListRequest && success && m_load == Load::Loaded) {
        takeTrackList(reply.value(QStringLiteral("data")).toArray().toVariantList());
        applySubtitle();
    }
}

void TMpvBackend::playerEnded() {
    // Not asked for by us: whatever it was playing has failed. A new player is made at the next
    // switch-on.
    const Load load = m_load;
    destroyCore();
    m_load = load;
    fail(PlayerStoppedText);
}

void TMpvBackend::loadTitle(int title, int chapter) {
    if (!m_on || m_device.isEmpty() || title < 1)
        return;
    forgetLoad();
    if (!playerRunning()) {
        m_load = Load::Loading;
        QTimer::singleShot(0, this, [this] { fail(PlayerCannotStartText); });
        return;
    }
    m_lastError.clear();
    m_load = Load::Loading;
    m_loadRequest++;
    setPlayerProperty(QStringLiteral("dvd-device"), m_device);
    setPlayerProperty(QStringLiteral("pause"), m_state == PlaybackState::Running
                                                   ? QStringLiteral("no")
                                                   : QStringLiteral("yes"));

    // mpv counts DVD titles from 0; a chapter (from 1) is where the title starts playing.
    const QString url = QStringLiteral("dvd://%1").arg(title - 1);
    const QString options = chapter > 0 ? QStringLiteral("start=#%1").arg(chapter) : QString();
    // Named arguments: the position of loadfile's options differs between mpv versions.
    m_mpv->send({{QStringLiteral("command"), QJsonObject{{QStringLiteral("name"), "loadfile"},
                                                         {QStringLiteral("url"), url},
                                                         {QStringLiteral("flags"), "replace"},
                                                         {QStringLiteral("options"), options}}},
                 {QStringLiteral("request_id"), m_loadRequest},
                 {QStringLiteral("async"), true}});
}

void TMpvBackend::command(const QStringList& args) {
    if (playerRunning())
        m_mpv->send({{QStringLiteral("command"), QJsonArray::fromStringList(args)}});
}

void TMpvBackend::setPlayerProperty(const QString& name, const QString& value) {
    // "set" takes the value as text, as the option would be written.
    command({QStringLiteral("set"), name, value});
}

void TMpvBackend::takeTrackList(const QVariantList& tracks) {
    m_subTracks.clear();
    for (const QVariant& track : tracks) {
        const QVariantMap t = track.toMap();
        if (t.value(QStringLiteral("type")).toString() == QLatin1String("sub"))
            m_subTracks << t.value(QStringLiteral("id")).toLongLong();
    }
    m_tracksKnown = true;
}

void TMpvBackend::applySubtitle() {
    if (m_load != Load::Loaded || m_subApplied)
        return;
    if (!m_subOn) {
        setPlayerProperty(QStringLiteral("sid"), QStringLiteral("no"));
        m_subApplied = true;
        return;
    }
    if (m_tracksKnown && m_subStream >= 0 && m_subStream < m_subTracks.size()) {
        setPlayerProperty(QStringLiteral("sid"), QString::number(m_subTracks[m_subStream]));
        m_subApplied = true;
    }
}

void TMpvBackend::forgetLoad() {
    m_load = Load::None;
    m_tracksKnown = false;
    m_subTracks.clear();
    m_entryId = -1;
    m_pendingSeek.reset();
}

void TMpvBackend::fail(const QString& reason) {
    if (m_load == Load::None)
        return;
    command({QStringLiteral("stop")});
    forgetLoad();
    if (m_on)
        m_state = PlaybackState::Stopped;
    emit failed(reason);
}
