#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The two conversion tools as child processes, one slot each, as the driver sees them. The real
// runner starts processes; tests drive a fake that says and ends what they script.
class IToolRunner : public QObject {
    Q_OBJECT
public:
    enum Slot { Encoder = 0, Transcoder = 1 };
    using QObject::QObject;

    // False when the tool cannot be started; `error` then says why.
    virtual bool start(Slot slot, const QString& program, const QStringList& arguments,
                       QString* error = nullptr, const QString& workingDirectory = {}) = 0;
    // Ends the slot's tool with everything it started; `finished` follows, as crashed.
    virtual void terminate(Slot slot) = 0;
    // Asks the slot's tool to finish as if stopped from the keyboard (SIGINT).
    virtual void interrupt(Slot slot) = 0;
    virtual bool isRunning(Slot slot) const = 0;
    // The last lines the tool printed, for reporting a failure.
    virtual QString outputTail(Slot slot) const = 0;

signals:
    // A chunk of output and its index, counted from 0 within the run.
    void chunk(IToolRunner::Slot slot, const QString& text, int index);
    // The tool's output has ended: it exited, crashed or was terminated.
    void finished(IToolRunner::Slot slot, int exitCode, bool crashed);
};
