#include "mpvbackend.h"

#include <QFileInfo>
#include <QTimer>
#include <QVariantMap>

#include <mpv/client.h>

#include <cstring>

namespace {
constexpr quint64 TrackListObserver = 1;
constexpr quint64 TrackListRequest = 2;
const quint64 FirstLoadRequest = 1000; // above the fixed reply numbers

QVariant toVariant(const mpv_node& node) {
    switch (node.format) {
    case MPV_FORMAT_STRING:
        return QString::fromUtf8(node.u.string);
    case MPV_FORMAT_FLAG:
        return node.u.flag != 0;
    case MPV_FORMAT_INT64:
        return qlonglong(node.u.int64);
    case MPV_FORMAT_DOUBLE:
        return node.u.double_;
    case MPV_FORMAT_NODE_ARRAY: {
        QVariantList list;
        for (int i = 0; i < node.u.list->num; ++i)
            list << toVariant(node.u.list->values[i]);
        return list;
    }
    case MPV_FORMAT_NODE_MAP: {
        QVariantMap map;
        for (int i = 0; i < node.u.list->num; ++i)
            map.insert(QString::fromUtf8(node.u.list->keys[i]), toVariant(node.u.list->values[i]));
        return map;
    }
    default:
        return {};
    }
}

void call(const std::function<void()>& f) {
    if (f)
        f();
}

} // namespace

void TMpvBackend::wakeup(void* context) {
    // Called on one of mpv's threads: only hand the work over to the object's thread.
    auto* self = static_cast<TMpvBackend*>(context);
    QMetaObject::invokeMethod(
        self, [self] { self->drainEvents(); }, Qt::QueuedConnection);
}

TMpvBackend::TMpvBackend(Options options, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_loadRequest(FirstLoadRequest) {}

TMpvBackend::~TMpvBackend() {
    destroyCore();
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
    // mpv takes its window when it starts; a window made anew needs a new player.
    if (!m_mpv || windowId != m_windowId) {
        destroyCore();
        createCore(windowId);
    }
    m_on = true;
    m_state = PlaybackState::Stopped;
}

void TMpvBackend::renderVolume(const QString& ifoPath) {
    if (!m_on)
        return;
    m_device = QFileInfo(ifoPath).absolutePath();
}

void TMpvBackend::run() {
    if (!m_on)
        return;
    m_state = PlaybackState::Running;
    setPlayerProperty("pause", "no");
}

void TMpvBackend::pause() {
    if (m_state != PlaybackState::Running)
        return;
    m_state = PlaybackState::Paused;
    setPlayerProperty("pause", "yes");
}

void TMpvBackend::stop() {
    if (m_load != Load::None)
        command({"stop"});
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
        command({"seek", QByteArray::number(seconds), "absolute"});
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
    if (!m_mpv)
        return {};
    mpv_node node;
    if (mpv_get_property(m_mpv, name.toUtf8().constData(), MPV_FORMAT_NODE, &node) < 0)
        return {};
    QVariant value = toVariant(node);
    mpv_free_node_contents(&node);
    return value;
}

bool TMpvBackend::createCore(quint64 windowId) {
    m_mpv = mpv_create();
    if (!m_mpv)
        return false;
    m_windowId = windowId;
    const auto option = [this](const char* name, const QByteArray& value) {
        mpv_set_option_string(m_mpv, name, value.constData());
    };
    option("config", "no");
    option("terminal", "no");
    option("idle", "yes");
    option("keep-open", "yes"); // the last picture stays until the count stops the preview
    option("input-default-bindings", "no");
    option("input-vo-keyboard", "no");
    option("input-cursor", "no");
    option("cursor-autohide", "no");
    option("osd-level", "0");
    option("audio-display", "no");
    option("hwdec", "auto-safe");
    // None of mpv's own scripts and overlays: the pane has its own controls.
    option("load-scripts", "no");
    option("osc", "no");
    option("load-stats-overlay", "no");
    option("load-osd-console", "no");
    option("load-auto-profiles", "no");
    option("ytdl", "no");
    if (!m_options.videoOutput.isEmpty())
        option("vo", m_options.videoOutput.toUtf8());
    // OpenGL only: where the Vulkan probe fails (no GPU: Xvfb, VMs, remote desktops) it closes
    // file descriptor 0, which it never opened; by then that may be the working output's X
    // connection, and Xlib ends the whole program when it breaks.
    option("gpu-api", "opengl");
    if (!m_options.audioOutput.isEmpty())
        option("ao", m_options.audioOutput.toUtf8());
    if (windowId != 0) {
        int64_t wid = static_cast<int64_t>(windowId);
        mpv_set_option(m_mpv, "wid", MPV_FORMAT_INT64, &wid);
    }
    mpv_request_log_messages(m_mpv, "error");
    mpv_observe_property(m_mpv, TrackListObserver, "track-list", MPV_FORMAT_NODE);
    mpv_set_wakeup_callback(m_mpv, wakeup, this);
    if (mpv_initialize(m_mpv) < 0) {
        destroyCore();
        return false;
    }
    return true;
}

void TMpvBackend::destroyCore() {
    if (!m_mpv)
        return;
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    mpv_terminate_destroy(m_mpv);
    m_mpv = nullptr;
    forgetLoad();
}

void TMpvBackend::drainEvents() {
    while (m_mpv) {
        mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void TMpvBackend::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* message = static_cast<const mpv_event_log_message*>(event.data);
        m_lastError = QString::fromUtf8(message->text).trimmed();
        break;
    }
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata != m_loadRequest || m_load != Load::Loading)
            break;
        if (event.error < 0) {
            fail(QString::fromUtf8(mpv_error_string(event.error)));
        } else {
            const auto* reply = static_cast<const mpv_event_command*>(event.data);
            const QVariantMap result = toVariant(reply->result).toMap();
            m_entryId = result.value(QStringLiteral("playlist_entry_id"), -1).toLongLong();
        }
        break;
    case MPV_EVENT_START_FILE:
        m_startedEntry = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
        m_tracksKnown = false;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (m_load != Load::Loading || m_entryId < 0 || m_startedEntry != m_entryId)
            break; // a title asked for earlier, since replaced
        m_load = Load::Loaded;
        if (m_pendingSeek) {
            command({"seek", QByteArray::number(*m_pendingSeek), "absolute"});
            m_pendingSeek.reset();
        }
        // The observed list may be the last title's until mpv reports a change, and an unchanged
        // list is never reported: ask for it.
        mpv_get_property_async(m_mpv, TrackListRequest, "track-list", MPV_FORMAT_NODE);
        applySubtitle();
        emit fileLoaded();
        call(m_listener.started);
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        if (m_load == Load::Loaded && m_startedEntry == m_entryId)
            emit playbackRestarted();
        break;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        if (end->reason == MPV_END_FILE_REASON_ERROR && end->playlist_entry_id == m_entryId &&
            m_load != Load::None) {
            fail(m_lastError.isEmpty() ? QString::fromUtf8(mpv_error_string(end->error))
                                       : m_lastError);
        }
        break;
    }
    case MPV_EVENT_GET_PROPERTY_REPLY:
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        const bool trackList =
            event.reply_userdata == TrackListObserver || event.reply_userdata == TrackListRequest;
        if (!trackList || event.error < 0 || property->format != MPV_FORMAT_NODE ||
            m_load != Load::Loaded)
            break;
        takeTrackList(*static_cast<mpv_node*>(property->data));
        // A title's subtitle track may show up only once its first picture is read.
        applySubtitle();
        break;
    }
    case MPV_EVENT_SHUTDOWN:
        // Not asked for by us; a new player is made at the next switch-on.
        QTimer::singleShot(0, this, [this] { destroyCore(); });
        break;
    default:
        break;
    }
}

void TMpvBackend::loadTitle(int title, int chapter) {
    if (!m_on || m_device.isEmpty() || title < 1)
        return;
    forgetLoad();
    if (!m_mpv) {
        m_load = Load::Loading;
        QTimer::singleShot(0, this,
                           [this] { fail(QStringLiteral("The video player could not start.")); });
        return;
    }
    m_lastError.clear();
    m_load = Load::Loading;
    m_loadRequest++;
    setPlayerProperty("dvd-device", m_device.toUtf8());
    setPlayerProperty("pause", m_state == PlaybackState::Running ? "no" : "yes");

    // mpv counts DVD titles from 0; a chapter (from 1) is where the title starts playing.
    const QByteArray url = "dvd://" + QByteArray::number(title - 1);
    const QByteArray options = chapter > 0 ? "start=#" + QByteArray::number(chapter) : "";
    // Named arguments: the position of loadfile's options differs between mpv versions.
    QList<QByteArray> keys = {"name", "url", "flags", "options"};
    QList<QByteArray> values = {"loadfile", url, "replace", options};
    QList<mpv_node> nodes(keys.size());
    QList<char*> keyPointers(keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        nodes[i].format = MPV_FORMAT_STRING;
        nodes[i].u.string = values[i].data();
        keyPointers[i] = keys[i].data();
    }
    mpv_node_list list{static_cast<int>(keys.size()), nodes.data(), keyPointers.data()};
    mpv_node arguments;
    arguments.format = MPV_FORMAT_NODE_MAP;
    arguments.u.list = &list;
    mpv_command_node_async(m_mpv, m_loadRequest, &arguments);
}

void TMpvBackend::command(const QList<QByteArray>& args) {
    if (!m_mpv)
        return;
    QList<const char*> pointers;
    for (const QByteArray& a : args)
        pointers << a.constData();
    pointers << nullptr;
    mpv_command_async(m_mpv, 0, pointers.data());
}

void TMpvBackend::setPlayerProperty(const char* name, const QByteArray& value) {
    if (!m_mpv)
        return;
    const char* text = value.constData();
    mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_STRING, &text);
}

void TMpvBackend::takeTrackList(const mpv_node& list) {
    m_subTracks.clear();
    const QVariantList tracks = toVariant(list).toList();
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
        setPlayerProperty("sid", "no");
        m_subApplied = true;
        return;
    }
    if (m_tracksKnown && m_subStream >= 0 && m_subStream < m_subTracks.size()) {
        setPlayerProperty("sid", QByteArray::number(m_subTracks[m_subStream]));
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
    if (m_mpv)
        command({"stop"});
    forgetLoad();
    if (m_on)
        m_state = PlaybackState::Stopped;
    if (m_listener.failed)
        m_listener.failed(reason);
}
