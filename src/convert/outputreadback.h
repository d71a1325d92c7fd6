#pragma once

#include "convert/outputcheck.h"

#include <QObject>
#include <QProcess>
#include <QString>

#include <memory>

// Reads a finished output back with ffprobe while the window stays live, and judges it.
class TOutputReadBack : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~TOutputReadBack() override;

    // Starts the read; `read` follows. False when there is no probe to run.
    bool start(const QString& probePath, const QString& outputPath,
               const OutputExpectation& expected);
    // Ends a running read; `read` follows, judged on what was read (nothing).
    void stop();

signals:
    void read(const OutputVerdict& verdict);

private:
    void ended();

    std::unique_ptr<QProcess> m_probe;
    OutputExpectation m_expected;
};
