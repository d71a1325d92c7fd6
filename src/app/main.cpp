#include "app/aboutform.h"
#include "app/mainform.h"
#include "cli/headless.h"
#include "dvd/opendvdform.h"
#include "dvd/tasklistcontroller.h"
#include "platform/desktopshell.h"
#include "platform/linuxdrives.h"
#include "platform/logindpower.h"
#include "platform/messageboxprompts.h"
#include "platform/standardstreams.h"
#include "platform/terminationsignals.h"
#include "profiles/settingform.h"
#include "trim/editdvdvolumeform.h"
#include "trim/edittimeform.h"
#include "trim/trimcontroller.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    EnsureStandardStreams();
    // Options beginning with "--" ask for the modes that need no display.
    for (int i = 1; i < argc; ++i)
        if (qstrncmp(argv[i], "--", 2) == 0)
            return RunHeadless(argc, argv);

    // The preview draws into our window through its X11 id; under Wayland it has none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    MessageBoxPrompts prompts;
    DesktopShell shell;
    LogindPower power;

    // The windows in their fixed order; only the main window is shown.
    TMainForm mainForm(QCoreApplication::applicationDirPath(), app.arguments().mid(1),
                       PlatformServices{prompts, shell, power});
    LinuxDriveSource drives;
    TOpenDVDForm openDvdForm(&mainForm, drives, prompts,
                             [&mainForm](const QString& volumeName, const QString& folder) {
                                 mainForm.openDisc(volumeName, folder);
                             });
    mainForm.attachOpenDVDForm(&openDvdForm);
    TSettingForm settingForm(&mainForm, mainForm.values(), prompts);
    mainForm.attachSettingForm(&settingForm);
    TEditDVDVolumeForm volumeForm(&mainForm);
    TEditTimeForm timeForm(&mainForm);
    TTrimController trim(
        mainForm.taskTree(), [&mainForm] { return mainForm.taskList().focusedNode(); },
        mainForm.dvdInformation(), prompts, timeForm, volumeForm);
    mainForm.attachTrimController(&trim);
    TAboutForm aboutForm(&mainForm, mainForm.values().productVersion, shell);
    mainForm.attachAboutForm(&aboutForm);

    // A signal ends the program as closing the window does: a running conversion's tools are
    // ended and its intermediate file removed as the windows go; the status tells it was cut.
    TTerminationSignals signals_;
    int status = 0;
    QObject::connect(&signals_, &TTerminationSignals::received, &app, [&](int signal) {
        status = 128 + signal;
        QCoreApplication::exit(status);
    });

    mainForm.show();
    const int result = app.exec();
    return status ? status : result;
}
