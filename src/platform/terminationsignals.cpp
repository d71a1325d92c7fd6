#include "platform/terminationsignals.h"

#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_pair[2] = {-1, -1};

void onSignal(int signal) {
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_pair[0], &byte, 1); // async-signal-safe
}

} // namespace

QList<int> TTerminationSignals::Termination() {
    return {SIGINT, SIGTERM, SIGHUP};
}

TTerminationSignals::TTerminationSignals(QList<int> watched, QObject* parent)
    : QObject(parent), m_watched(std::move(watched)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pair) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(g_pair[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(g_pair[1], &byte, 1) == 1)
            emit received(byte);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : std::as_const(m_watched))
        sigaction(signal, &action, nullptr);
}

TTerminationSignals::~TTerminationSignals() {
    for (const int signal : std::as_const(m_watched))
        std::signal(signal, SIG_DFL);
    m_notifier.reset();
    for (int& fd : g_pair) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}
