#include "app/programwindow.h"
#include "cli/headless.h"
#include "platform/standardstreams.h"
#include "platform/terminationsignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    EnsureStandardStreams();
    // Options beginning with "--", and -h, ask for the modes that need no display.
    for (int i = 1; i < argc; ++i)
        if (qstrncmp(argv[i], "--", 2) == 0 || qstrcmp(argv[i], "-h") == 0)
            return RunHeadless(argc, argv);

    // The preview draws into our window through its X11 id; under Wayland it has none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    TProgramWindow window(QCoreApplication::applicationDirPath(), app.arguments().mid(1));

    // A signal ends the program as closing the window does: the choices of the window are
    // stored, a running conversion's tools are ended and its intermediate file removed as the
    // windows go; the status tells it was cut.
    TTerminationSignals signals_;
    int status = 0;
    QObject::connect(&signals_, &TTerminationSignals::received, &app, [&](int signal) {
        status = 128 + signal;
        window.close();
        QCoreApplication::exit(status);
    });

    window.show();
    const int result = app.exec();
    return status ? status : result;
}
