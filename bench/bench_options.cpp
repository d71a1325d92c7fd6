// Prints the transcoder options a profile gives with its shipped values, one argument a line:
// what a single ffmpeg pass needs to encode as the program's transcode pass does.
//   bench_options PROFILE.apf
#include "convert/commandlines.h"
#include "convert/profileoptions.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_options PROFILE.apf\n");
        return 2;
    }
    const QString profile = QString::fromLocal8Bit(argv[1]);
    const ToolCommand options =
        TranscoderOptions(CurrentProfileOptions(profile, ProfileDefaults(profile)));
    for (const QString& argument : options.arguments())
        std::printf("%s\n", qPrintable(argument));
    return 0;
}
