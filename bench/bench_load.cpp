// Time to read a disc into the task tree, side by side with `lsdvd -x` on the same disc.
//   bench_load DISC_FOLDER [ROUNDS]
#include "dvd/discloader.h"
#include "dvd/libdvdreadstructure.h"
#include "dvd/tasktree.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double loadOnce(const QString& folder, int& nodes) {
    QElapsedTimer timer;
    timer.start();
    TDVDInformation info;
    TTaskTree tree([] { return QString(); }, [] { return QString(".mp4"); });
    LibDvdReadStructure reader;
    const DiscLoadResult loaded = LoadDisc(folder, reader);
    ApplyLoadedDisc(loaded, tree, info);
    tree.CheckLongestTitle();
    nodes = tree.nodeCount();
    return timer.nsecsElapsed() / 1e6;
}

double lsdvdOnce(const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    QProcess lsdvd;
    lsdvd.setProcessChannelMode(QProcess::MergedChannels);
    lsdvd.start(QStringLiteral("lsdvd"), {QStringLiteral("-x"), folder});
    lsdvd.waitForFinished(60000);
    lsdvd.readAll();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_load DISC_FOLDER [ROUNDS]\n");
        return 2;
    }
    const QString folder = args[1];
    const int rounds = args.size() > 2 ? args[2].toInt() : 15;
    std::vector<double> ours, theirs;
    int nodes = 0;
    loadOnce(folder, nodes); // warm the file cache for both
    lsdvdOnce(folder);
    for (int i = 0; i < rounds; ++i) { // interleaved, so both see the same machine
        ours.push_back(loadOnce(folder, nodes));
        theirs.push_back(lsdvdOnce(folder));
    }
    const double a = median(ours), b = median(theirs);
    std::printf("disc: %s\nnodes in the task tree: %d\nrounds: %d\n", qPrintable(folder), nodes,
                rounds);
    std::printf("load into the task tree: median %.2f ms\nlsdvd -x: median %.2f ms\n", a, b);
    std::printf("ratio (ours / lsdvd): %.2f\n", a / b);
    return 0;
}
