#include "faketools.h"
#include "testfiles.h"

#include <QFile>

namespace {
QList<QStringList> runs(const QString& logPath) {
    QList<QStringList> result;
    for (const QByteArray& line : TestFiles::read(logPath).split('\n'))
        if (!line.isEmpty())
            result << QString::fromUtf8(line).split(QChar(0x1f));
    return result;
}
} // namespace

FakeToolFolder::FakeToolFolder() {
    for (const char* name : {"asapi.dll", "wmaspi.dll"})
        QFile::link(QStringLiteral(RIPVALE_FAKE_TOOL), m_dir.filePath(name));
}

void FakeToolFolder::setOpenScript(const QString& script) {
    TestFiles::write(encoderPath() + ".open", script.toUtf8());
}

void FakeToolFolder::setProbeScript(const QString& script) {
    TestFiles::write(encoderPath() + ".probe", script.toUtf8());
}

void FakeToolFolder::setEncodeScript(const QString& script) {
    TestFiles::write(encoderPath() + ".encode", script.toUtf8());
}

void FakeToolFolder::setTranscodeScript(const QString& script) {
    TestFiles::write(transcoderPath() + ".transcode", script.toUtf8());
}

QList<QStringList> FakeToolFolder::encoderRuns() const {
    return runs(encoderPath() + ".log");
}

QList<QStringList> FakeToolFolder::transcoderRuns() const {
    return runs(transcoderPath() + ".log");
}
