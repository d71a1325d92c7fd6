#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The real program in a program folder of its own, so its tools and temp.avi can be told apart
// from any other run's: the built executable copied, its tool links, the shipped profiles and a
// profile whose transcoder option ffmpeg rejects ("9 Broken").
class HeadlessProgram {
public:
    struct Run {
        int status = -1;
        QString out;
        QString err;
    };

    // Empty when the folder is made; else what went wrong.
    QString make();
    Run run(const QStringList& args) const;
    // The tools of runs from this program folder that are still alive, wrapped ones included
    // (their command lines name the folder's temp.avi); `marker` narrows them to one pass.
    QStringList toolProcesses(const QString& marker = QString()) const;
    // A fresh, empty output folder for the running test function and data row.
    QString freshOutput();

    QString disc; // the sample disc
    QString dir;  // the program folder, ending in "/"

private:
    QTemporaryDir m_program;
    QTemporaryDir m_outParent;
};
