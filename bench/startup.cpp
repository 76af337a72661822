// Times start-up, from exec to the first frame drawn whole on the X server, of
// each given command in turns, and reads the most memory each had resident by
// then (its peak working set, under Wine). Prints the order statistics of each,
// and each later command's medians as ratios to the first's.
//
//     velmora-startup RUNS LABEL COMMAND... [-- LABEL COMMAND...]...
//
// scripts/bench-windows uses it for Velmora.exe under Wine next to a bare window.

#include "framewatch.h"
#include "program.h"
#include "summary.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Subject {
    std::string label;
    std::vector<std::string> command;
    std::vector<double> milliseconds;
    std::vector<double> peakMegabytes;
};

struct Start {
    double milliseconds;
    double peakMegabytes;
};

Start timeFirstFrame(const Subject &subject)
{
    FrameWatch watch;
    const Program program(subject.command);
    const auto frame = watch.waitForFirstFrame(Clock::now() + 20s);
    if (!frame)
        throw std::runtime_error(subject.label + " showed no window");
    const double ms = std::chrono::duration<double, std::milli>(frame->drawn - program.started()).count();
    // Let the program finish what follows its first frame, and the server forget it.
    std::this_thread::sleep_for(300ms);
    return {ms, program.peakResidentKiB() * 1024 / 1e6};
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS LABEL COMMAND... [-- LABEL COMMAND...]...\n", argv[0]);
        return 2;
    }
    const int runs = std::stoi(argv[1]);
    std::vector<Subject> subjects(1);
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--")
            subjects.emplace_back();
        else if (subjects.back().label.empty())
            subjects.back().label = word;
        else
            subjects.back().command.push_back(word);
    }
    try {
        // One run of each that is not counted: caches, and Wine's server, warm up.
        for (Subject &s : subjects)
            timeFirstFrame(s);
        for (int run = 0; run < runs; ++run)
            for (Subject &s : subjects) {
                const Start start = timeFirstFrame(s);
                s.milliseconds.push_back(start.milliseconds);
                s.peakMegabytes.push_back(start.peakMegabytes);
            }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velmora-startup: %s\n", e.what());
        return 1;
    }
    for (const Subject &s : subjects) {
        const Summary summary(s.milliseconds);
        std::printf("  %-34s median %7.1f ms   IQR %7.1f - %7.1f   range %7.1f - %7.1f   (%d runs)\n",
                    s.label.c_str(), summary.median(), summary.quantile(0.25), summary.quantile(0.75), summary.min(),
                    summary.max(), runs);
        const Summary peak(s.peakMegabytes);
        std::printf("  %-34s peak resident median %6.2f MB   range %6.2f - %6.2f\n", "", peak.median(), peak.min(),
                    peak.max());
    }
    const Subject &floor = subjects.front();
    for (std::size_t i = 1; i < subjects.size(); ++i) {
        const Subject &s = subjects[i];
        std::printf("  %s / %s: start-up %.3f, peak resident %.3f\n", s.label.c_str(), floor.label.c_str(),
                    Summary(s.milliseconds).median() / Summary(floor.milliseconds).median(),
                    Summary(s.peakMegabytes).median() / Summary(floor.peakMegabytes).median());
    }
    return 0;
}
