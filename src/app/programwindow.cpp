#include "app/programwindow.h"

#include "app/aboutform.h"
#include "app/mainform.h"
#include "dvd/opendvdform.h"
#include "dvd/tasklistcontroller.h"
#include "platform/desktopshell.h"
#include "platform/linuxdrives.h"
#include "platform/logindpower.h"
#include "platform/messageboxprompts.h"
#include "profiles/settingform.h"
#include "trim/editdvdvolumeform.h"
#include "trim/edittimeform.h"
#include "trim/trimcontroller.h"

// In their fixed order: each part may use those above it; they go in the reverse order.
struct TProgramWindow::Parts {
    MessageBoxPrompts prompts;
    DesktopShell shell;
    LogindPower power;
    TMainForm mainForm;
    LinuxDriveSource drives;
    TOpenDVDForm openDvdForm;
    TSettingForm settingForm;
    TEditDVDVolumeForm volumeForm;
    TEditTimeForm timeForm;
    TTrimController trim;
    TAboutForm aboutForm;

    Parts(const QString& programDir, const QStringList& arguments)
        : mainForm(programDir, arguments, PlatformServices{prompts, shell, power}),
          openDvdForm(&mainForm, drives, prompts,
                      [this](const QString& volumeName, const QString& folder) {
                          mainForm.openDisc(volumeName, folder);
                      }),
          settingForm(&mainForm, mainForm.values(), prompts), volumeForm(&mainForm),
          timeForm(&mainForm),
          trim(
              mainForm.taskTree(), [this] { return mainForm.taskList().focusedNode(); },
              mainForm.dvdInformation(), prompts, timeForm, volumeForm),
          aboutForm(&mainForm, mainForm.values().productVersion, shell) {
        mainForm.attachOpenDVDForm(&openDvdForm);
        mainForm.attachSettingForm(&settingForm);
        mainForm.attachTrimController(&trim);
        mainForm.attachAboutForm(&aboutForm);
    }
};

TProgramWindow::TProgramWindow(const QString& programDir, const QStringList& arguments)
    : m_parts(std::make_unique<Parts>(programDir, arguments)) {}

TProgramWindow::~TProgramWindow() = default;

void TProgramWindow::show() {
    m_parts->mainForm.show(); // only the main window is shown
}
