#pragma once

#include <QStringList>
#include <QTemporaryDir>

// A program folder whose asapi.dll and wmaspi.dll are the scriptable fake tool.
class FakeToolFolder {
public:
    FakeToolFolder();
    bool isValid() const { return m_dir.isValid(); }
    QString programDir() const { return m_dir.path() + "/"; }
    QString encoderPath() const { return programDir() + "asapi.dll"; }
    QString transcoderPath() const { return programDir() + "wmaspi.dll"; }

    // Scripts (see fake_tool.cpp) for the disc-open run, the encode pass and the transcode pass.
    void setOpenScript(const QString& script);
    void setProbeScript(const QString& script);
    void setEncodeScript(const QString& script);
    void setTranscodeScript(const QString& script);
    // Each run's arguments, encoder and transcoder runs in one list each.
    QList<QStringList> encoderRuns() const;
    QList<QStringList> transcoderRuns() const;

private:
    QTemporaryDir m_dir;
};
