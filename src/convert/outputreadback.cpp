#include "convert/outputreadback.h"

TOutputReadBack::~TOutputReadBack() {
    if (m_probe) {
        m_probe->disconnect(this);
        m_probe->kill();
        m_probe->waitForFinished(3000);
    }
}

bool TOutputReadBack::start(const QString& probePath, const QString& outputPath,
                            const OutputExpectation& expected) {
    if (probePath.isEmpty())
        return false;
    m_expected = expected;
    m_probe = std::make_unique<QProcess>();
    connect(m_probe.get(), &QProcess::finished, this, &TOutputReadBack::ended);
    connect(m_probe.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            ended();
    });
    m_probe->start(probePath, ProbeArguments(outputPath));
    return true;
}

void TOutputReadBack::stop() {
    if (m_probe)
        m_probe->kill(); // its end then tells
}

void TOutputReadBack::ended() {
    if (!m_probe)
        return;
    const QByteArray json = m_probe->readAllStandardOutput();
    m_probe->disconnect(this);
    m_probe.release()->deleteLater(); // its signal may be the one being handled
    emit read(JudgeOutput(json, m_expected));
}
