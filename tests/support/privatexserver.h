#pragma once

#include <QByteArray>

#include <sys/types.h>

// An Xvfb server of the test's own, gone with the test however the test ends (a window under
// test may take the test down with its X connection). Start it before the application connects.
class TPrivateXServer {
public:
    explicit TPrivateXServer(bool start = true);
    ~TPrivateXServer();
    TPrivateXServer(const TPrivateXServer&) = delete;
    TPrivateXServer& operator=(const TPrivateXServer&) = delete;

    // ":N", or empty when Xvfb could not be started.
    const QByteArray& display() const { return m_display; }

private:
    pid_t m_server = 0;
    QByteArray m_display;
};
