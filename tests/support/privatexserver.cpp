#include "support/privatexserver.h"

#include <QFileInfo>

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

TPrivateXServer::TPrivateXServer(bool start) {
    if (!start)
        return;
    const int number = 100 + int(::getpid() % 500);
    const QByteArray display = ":" + QByteArray::number(number);
    m_server = ::fork();
    if (m_server == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execlp("Xvfb", "Xvfb", display.constData(), "-screen", "0", "1024x768x24", "-nolisten",
                 "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (m_server < 0)
        return;
    const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
    for (int i = 0; i < 100 && !QFileInfo::exists(socket); ++i)
        ::usleep(50000);
    if (QFileInfo::exists(socket))
        m_display = display;
}

TPrivateXServer::~TPrivateXServer() {
    if (m_server <= 0)
        return;
    ::kill(m_server, SIGTERM);
    ::waitpid(m_server, nullptr, 0);
}
