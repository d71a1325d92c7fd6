#pragma once

#include <QStringList>

#include <memory>

class IDriveSource;
class INotifier;
class IPower;
class IPrompts;
class IShell;
class TConversionController;
class TDiscOpener;
class TMainForm;
class TPreviewController;
class TProfileChoice;
class TSettingForm;
class TSettings;
class TTaskListController;
class TTaskTree;
struct ProgramValues;
struct TDVDInformation;

// The outside world as the windowed program reaches it.
struct PlatformServices {
    IPrompts& prompts;
    IShell& shell;
    IPower& power;
    IDriveSource& drives;
    INotifier& notifier;
};

// The windowed program's one composition root: creates the program values, the task tree, the
// main window and its dialogs, and the controllers that own their handlers, in their fixed order,
// and connects them with signals. Nothing else creates or connects them.
class TProgramWindow {
public:
    // Over the Linux desktop's own services.
    TProgramWindow(const QString& programDir, const QStringList& arguments);
    // Over the given services (tests).
    TProgramWindow(const QString& programDir, const QStringList& arguments,
                   PlatformServices platform);
    ~TProgramWindow();
    TProgramWindow(const TProgramWindow&) = delete;
    TProgramWindow& operator=(const TProgramWindow&) = delete;

    void show();  // only the main window is shown
    void close(); // as the user closes the main window

    // The parts, for tests and tools that drive the window.
    TMainForm& mainForm();
    const ProgramValues& values();
    TSettings& settings();
    TDVDInformation& dvdInformation();
    TTaskTree& taskTree();
    TDiscOpener& discOpener();
    TTaskListController& taskList();
    TConversionController& conversion();
    TPreviewController& preview();
    TProfileChoice& profileChoice();
    TSettingForm& settingForm();

private:
    void start(const QString& programDir, const QStringList& arguments, PlatformServices platform);

    struct LinuxPlatform;
    struct Parts;
    std::unique_ptr<LinuxPlatform> m_linux;
    std::unique_ptr<Parts> m_parts;
};
