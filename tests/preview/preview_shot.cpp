// Shows the main window with the sample disc opened and its first title in the preview pane,
// put together as the program does, and says when the picture is ready:
//   preview_shot DISC_FOLDER  ->  prints "ready <window id>" on stdout
// Between playing and "ready" the window is hidden, shown again and moved, so the picture also
// shows that the video follows its window. scripts/preview-screenshot takes the picture.
#include "app/hintpanel.h"
#include "app/mainform.h"
#include "app/programwindow.h"
#include "dvd/discopener.h"
#include "dvd/tasklistcontroller.h"
#include "dvd/tasklistview.h"
#include "dvd/tasktree.h"
#include "preview/mpvbackend.h"
#include "preview/previewcontroller.h"
#include "support/fakes.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace {
// Notices go to the terminal: a modal box would hold the picture up.
class PrintedPrompts : public FakePrompts {
public:
    void inform(const QString& text, const QString& caption) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    }
};

void after(int ms, std::function<void()> f) {
    QTimer::singleShot(ms, std::move(f));
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: preview_shot DISC_FOLDER\n");
        return 2;
    }
    QTemporaryDir programDir; // no Preferences.ini of the user's is touched
    PrintedPrompts prompts;
    FakeShell shell;
    FakePower power;
    FakeDrives drives;
    FakeNotifier notifier;
    TProgramWindow window(programDir.path(), {QString::fromLocal8Bit(argv[1])},
                          PlatformServices{prompts, shell, power, drives, notifier});
    TMainForm& form = window.mainForm();
    TPreviewController& preview = window.preview();
    form.show();

    const auto ready = [&form] {
        std::printf("ready 0x%llx\n", static_cast<unsigned long long>(form.winId()));
        std::fflush(stdout);
    };
    QObject::connect(&window.discOpener(), &TDiscOpener::opened, &form, [&] {
        const QModelIndex first = window.taskTree().index(0, 0);
        window.taskTree().writeChoice(first, TTaskTree::Choice::Subtitle, 1);
        form.ltvTask->setCurrentIndex(first);
        preview.Play(); // what a double click does
    });
    // The first subtitle line shows from 1 s to 2.5 s into the title.
    auto* mpv = dynamic_cast<TMpvBackend*>(&preview.backend());
    QObject::connect(mpv, &TMpvBackend::fileLoaded, &form, [&] {
        after(1600, [&] {
            preview.player().sbtnPauseClick(); // holds the picture with its subtitle
            form.hide();
            after(700, [&] {
                form.show();
                form.move(form.pos() + QPoint(40, 30));
                after(1500, ready);
            });
        });
    });
    return app.exec();
}
