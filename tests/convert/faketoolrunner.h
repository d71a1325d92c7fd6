#pragma once

#include "convert/toolrunning.h"

#include <QList>
#include <QMetaObject>

#include <array>

// Tools that run only as far as a test says: a start is written down, and output and ends come
// when the test calls say() and end(). terminate() ends a running tool a moment later, as the
// real runner's killed process does.
class FakeToolRunner : public IToolRunner {
public:
    struct Start {
        Slot slot;
        QString program;
        QStringList arguments;
    };
    QList<Start> starts;
    int terminated = 0;
    bool refuse = false; // every start fails, as a missing tool does

    bool start(Slot slot, const QString& program, const QStringList& arguments, QString* error,
               const QString&) override {
        if (refuse) {
            if (error)
                *error = QStringLiteral("No such file or directory");
            return false;
        }
        starts << Start{slot, program, arguments};
        m_running[slot] = true;
        m_chunks[slot] = 0;
        return true;
    }
    void terminate(Slot slot) override {
        if (!m_running[slot])
            return;
        ++terminated;
        const int run = ++m_runs[slot];
        QMetaObject::invokeMethod(
            this,
            [this, slot, run] {
                if (m_running[slot] && m_runs[slot] == run)
                    end(slot, 9, true);
            },
            Qt::QueuedConnection);
    }
    void interrupt(Slot slot) override { terminate(slot); }
    bool isRunning(Slot slot) const override { return m_running[slot]; }
    QString outputTail(Slot) const override { return {}; }

    void say(Slot slot, const QString& text) { emit chunk(slot, text, m_chunks[slot]++); }
    void end(Slot slot, int code = 0, bool crashed = false) {
        m_running[slot] = false;
        ++m_runs[slot];
        emit finished(slot, code, crashed);
    }

private:
    std::array<bool, 2> m_running{};
    std::array<int, 2> m_chunks{};
    std::array<int, 2> m_runs{};
};
