#pragma once

#include "platform/drives.h"
#include "platform/notifier.h"
#include "platform/power.h"
#include "platform/prompts.h"
#include "platform/shell.h"

#include <QList>
#include <QStringList>

// Records every prompt; questions and folder choices are answered from queues.
class FakePrompts : public IPrompts {
public:
    struct Shown {
        QString text;
        QString caption;
    };
    QList<Shown> notices;
    QList<Shown> questions;
    QList<bool> answers;                   // next answers to ask(); No when empty
    QList<std::optional<QString>> folders; // next folder choices; cancel when empty
    QStringList folderCaptions;
    struct SaveRequest {
        QString caption;
        QString nameFilter;
        QString defaultSuffix;
        QString startFolder;
    };
    QList<std::optional<QString>> saveFiles; // next save dialog answers; cancel when empty
    QList<SaveRequest> saveRequests;
    QList<std::optional<QString>> openFiles; // next open dialog answers; cancel when empty
    QStringList openFilters;

    void inform(const QString& text, const QString& caption) override;
    bool ask(const QString& text, const QString& caption) override;
    std::optional<QString> chooseFolder(const QString& caption,
                                        const QString& startFolder) override;
    std::optional<QString> chooseOpenFile(const QString& caption,
                                          const QString& nameFilter) override;
    std::optional<QString> chooseSaveFile(const QString& caption, const QString& nameFilter,
                                          const QString& defaultSuffix,
                                          const QString& startFolder) override;
};

class FakeShell : public IShell {
public:
    QStringList opened;
    bool result = true;
    bool open(const QString& target) override;
};

// Never touches the machine's power: it only counts the calls.
class FakePower : public IPower {
public:
    int inhibitCalls = 0;
    int powerOffCalls = 0;
    bool inhibitSleep() override;
    void powerOff() override;
};

// Drives as the test lists them; a disc that is not mounted mounts where the test says.
class FakeDrives : public IDriveSource {
public:
    QList<OpticalDrive> list;
    std::optional<QString> mountResult;
    QList<OpticalDrive> drives() override { return list; }
    std::optional<QString> mount(const OpticalDrive& d) override {
        return d.mountPoint.isEmpty() ? mountResult : d.mountPoint;
    }
};

// Writes down what the desktop would be told.
class FakeNotifier : public INotifier {
public:
    QStringList notices;    // "summary | body"
    QList<double> progress; // -1 for hidden
    void notify(const QString& summary, const QString& body) override {
        notices << summary + " | " + body;
    }
    void setProgress(double fraction, bool visible) override {
        progress << (visible ? fraction : -1);
    }
};
