#include "headlessprogram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

QString HeadlessProgram::make() {
    disc = qEnvironmentVariable("RIPVALE_SAMPLE_DVD");
    const QString built = qEnvironmentVariable("RIPVALE_PROGRAM_DIR") + '/';
    if (!QFileInfo::exists(disc + "/VIDEO_TS/VIDEO_TS.IFO"))
        return "the sample disc is missing";
    dir = m_program.path() + '/';
    // The executable is copied: the program folder is where it really lies.
    if (!QFile::copy(built + "ripvale", dir + "ripvale"))
        return "the program cannot be copied";
    for (const char* tool : {"asapi.dll", "wmaspi.dll", "ffprobe"})
        if (!QFile::link(QFileInfo(built + tool).canonicalFilePath(), dir + QString(tool)))
            return "no link for a tool";
    QDir().mkpath(dir + "Profiles");
    for (const QString& f : QDir(built + "Profiles").entryList({"*.apf"}))
        if (!QFile::copy(built + "Profiles/" + f, dir + "Profiles/" + f))
            return "a profile cannot be copied";
    QFile source(built + "Profiles/1 MP4 H.264 AAC (recommended).apf");
    if (!source.open(QIODevice::ReadOnly))
        return "the first profile cannot be read";
    QByteArray text = source.readAll();
    if (!text.contains("Value=libx264,"))
        return "the first profile has changed";
    text.replace("Value=libx264,", "Value=no_such_codec_x,");
    QFile broken(dir + "Profiles/9 Broken.apf");
    if (!broken.open(QIODevice::WriteOnly) || broken.write(text) != text.size())
        return "the broken profile cannot be written";
    return {};
}

QString HeadlessProgram::freshOutput() {
    const QString out = m_outParent.path() + "/" + QTest::currentTestFunction() + "-" +
                        QString(QTest::currentDataTag()).replace(' ', '_');
    QDir(out).removeRecursively();
    QDir().mkpath(out);
    return out;
}

HeadlessProgram::Run HeadlessProgram::run(const QStringList& args) const {
    QProcess p;
    p.start(dir + "ripvale", args);
    p.closeWriteChannel();
    if (!p.waitForFinished(180000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QStringList HeadlessProgram::toolProcesses(const QString& marker) const {
    QStringList found;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(cmdline.readAll()).replace(QChar(0), ' ');
        QFile stat("/proc/" + pid + "/stat");
        const bool zombie = stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z ");
        if (!zombie && text.contains(dir) && !text.startsWith(dir + "ripvale") &&
            text.contains(marker))
            found << pid;
    }
    return found;
}
