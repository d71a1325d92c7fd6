// A stand-in for the encoder and transcoder tools, driven by a script so tests can make the
// tools talk, stall, fail or crash at will.
//
// Started as .../asapi.dll (encoder) or .../wmaspi.dll (transcoder), it appends its arguments
// to "<itself>.log" and runs "<itself>.<mode>", where mode is "open" for the encoder's short
// disc-open run (no -ovc), "probe" for the seek probe (-msglevel), "subtitles" for taking the
// subtitle out (-vobsubout), "encode" for the encode pass and "transcode" for the transcoder.
// A missing script means: exit 0 at once. Script lines:
//   print TEXT      write TEXT (escapes \r \n \0 \\) to standard output, unbuffered
//   eprint TEXT     the same on standard error
//   sleep MS        wait
//   output BYTES    write an output file of that size (the encoder's -o, or the last argument)
//   copy FILE       copy FILE to the output file
//   exit CODE       end with that status
//   hang            wait until killed
//   crash           abort()
//   onint CODE      from now on SIGINT writes a 10-byte output file and "<itself>.interrupted",
//                   and exits with CODE
//   repeat TEXT     print TEXT every 50 ms until killed or interrupted
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string g_output;
std::string g_interruptMark;
int g_interruptCode = 0;

void onInterrupt(int) {
    if (FILE* f = std::fopen(g_output.c_str(), "wb")) {
        std::fwrite("0123456789", 1, 10, f);
        std::fclose(f);
    }
    if (FILE* f = std::fopen(g_interruptMark.c_str(), "wb"))
        std::fclose(f);
    std::_Exit(g_interruptCode);
}

std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char c = text[++i];
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == '0' ? '\0' : c;
        } else {
            out += text[i];
        }
    }
    return out;
}

void writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string self = argv[0];
    std::vector<std::string> args(argv + 1, argv + argc);
    {
        std::ofstream log(self + ".log", std::ios::app);
        for (size_t i = 0; i < args.size(); ++i)
            log << (i ? "\x1f" : "") << args[i];
        log << "\n";
    }
    const bool encoder = self.find("asapi") != std::string::npos;
    bool encodePass = false, probe = false, subtitles = false;
    std::string output;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-ovc")
            encodePass = true;
        probe |= args[i] == "-msglevel";
        subtitles |= args[i] == "-vobsubout";
        if (encoder && args[i] == "-o" && i + 1 < args.size())
            output = args[i + 1];
    }
    if (!encoder && !args.empty())
        output = args.back();
    const std::string mode = !encoder     ? "transcode"
                             : probe      ? "probe"
                             : subtitles  ? "subtitles"
                             : encodePass ? "encode"
                                          : "open";

    std::ifstream script(self + "." + mode);
    std::string line;
    while (std::getline(script, line)) {
        std::istringstream words(line);
        std::string verb;
        words >> verb;
        std::string rest;
        std::getline(words, rest);
        if (!rest.empty() && rest[0] == ' ')
            rest.erase(0, 1);
        if (verb == "print" || verb == "eprint") {
            writeAll(verb == "print" ? 1 : 2, unescape(rest));
        } else if (verb == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(rest.c_str())));
        } else if (verb == "output") {
            std::ofstream out(output, std::ios::binary);
            out << std::string(size_t(std::atol(rest.c_str())), 'x');
        } else if (verb == "copy") {
            std::ifstream in(rest, std::ios::binary);
            std::ofstream out(output, std::ios::binary);
            out << in.rdbuf();
        } else if (verb == "exit") {
            return std::atoi(rest.c_str());
        } else if (verb == "hang") {
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        } else if (verb == "crash") {
            std::abort();
        } else if (verb == "onint") {
            g_output = output;
            g_interruptMark = self + ".interrupted";
            g_interruptCode = std::atoi(rest.c_str());
            std::signal(SIGINT, onInterrupt);
        } else if (verb == "repeat") {
            for (;;) {
                writeAll(1, unescape(rest));
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
    }
    return 0;
}
