// Measures Velmora against the bare Qt baseline in a running X server and
// prints every figure with its ratio to the baseline's:
//  - start-up: from exec to the first frame drawn whole on the X server, and
//    the processor time the program used until then, the two taking turns;
//  - click latency: real clicks on cards, the two windows side by side and
//    clicked in turns, timed inside each program from the press (and from the
//    release, which completes the click) reaching it to the end of the cell's
//    repaint;
//  - peak resident memory after start-up and after the clicks.
//
//     velmora-xbench VELMORA BASELINE PROBED_VELMORA PROBED_BASELINE [RUNS [CLICKS]]
//
// Start-up and memory are measured on the programs as they are; the clicks on
// their builds with the click probe.

#include "framewatch.h"
#include "program.h"
#include "summary.h"

#include <board/geometry.h>

#include <array>
#include <cstdio>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Time for a program to finish what it does just after its first frame, before
// its memory is read, and for the server to forget the last run.
constexpr auto kSettle = 300ms;
constexpr auto kPatience = 10s;

double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
double mebibytes(long kib) { return static_cast<double>(kib) / 1024.0; }

void xdotool(const std::vector<std::string> &args)
{
    std::vector<char *> argv{const_cast<char *>("xdotool")};
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    int status = 0;
    if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ) != 0 ||
        waitpid(pid, &status, 0) < 0 || status != 0)
        throw std::runtime_error("xdotool failed");
}

// A program under test, and its window once drawn whole.
struct Shown {
    std::unique_ptr<Program> program;
    FrameWatch::Frame frame;
};

Shown show(const std::string &path)
{
    FrameWatch watch;
    auto program = std::make_unique<Program>(path);
    const auto frame = watch.waitForFirstFrame(Clock::now() + kPatience);
    if (!frame)
        throw std::runtime_error(path + " showed no window");
    return {std::move(program), *frame};
}

struct Startup {
    double milliseconds;
    double cpuMilliseconds;
    long peakKiB;
};

Startup start(const std::string &path)
{
    const Shown shown = show(path);
    const double cpu = milliseconds(shown.program->cpuTime());
    std::this_thread::sleep_for(kSettle);
    return {milliseconds(shown.frame.drawn - shown.program->started()), cpu, shown.program->peakResidentKiB()};
}

struct Clicks {
    std::vector<double> fromPress;
    std::vector<double> fromRelease;
    long peakKiB = 0;
};

void clickCard(const Shown &shown, velmora::Card card, Clicks &clicks)
{
    // The board fills the bottom of the window, under the menu bar.
    const XRectangle &window = shown.frame.geometry;
    const velmora::PixelRect cell = velmora::cellRect(card);
    xdotool({"mousemove", "--sync", std::to_string(window.x + cell.left + cell.width / 2),
             std::to_string(window.y + window.height - velmora::kClientHeight + cell.top + cell.height / 2)});
    xdotool({"click", "1"});

    const auto line = shown.program->readLine(Clock::now() + kPatience);
    std::istringstream fields(line.value_or(""));
    std::string word;
    double fromPress = 0, fromRelease = 0;
    if (!(fields >> word >> fromPress >> fromRelease) || word != "click")
        throw std::runtime_error("the " + velmora::cardName(card) + " clicked was not repainted");
    clicks.fromPress.push_back(fromPress / 1000.0);
    clicks.fromRelease.push_back(fromRelease / 1000.0);
}

// File > Reset, from the keyboard.
void reset(const Shown &shown)
{
    xdotool({"windowfocus", "--sync", std::to_string(shown.frame.window), "key", "alt+f", "r"});
    std::this_thread::sleep_for(kSettle);
}

// Both programs side by side, clicked card by card in turns so that any drift
// of the machine falls on both alike; every 52 clicks each is reset.
std::array<Clicks, 2> clickInTurns(const std::string &velmoraPath, const std::string &baselinePath, int count)
{
    std::array<Shown, 2> shown = {show(velmoraPath), show(baselinePath)};
    XRectangle &right = shown[1].frame.geometry;
    right.x = static_cast<short>(shown[0].frame.geometry.x + shown[0].frame.geometry.width + 20);
    xdotool({"windowmove", "--sync", std::to_string(shown[1].frame.window), std::to_string(right.x),
             std::to_string(right.y)});

    std::array<Clicks, 2> clicks;
    for (int n = 0; n < count; ++n) {
        const int index = n % velmora::kCardCount;
        for (int turn = 0; turn < 2; ++turn) {
            const int i = (n + turn) % 2;
            if (n > 0 && index == 0)
                reset(shown[i]);
            clickCard(shown[i], velmora::cardAt(index), clicks[i]);
        }
    }
    for (int i = 0; i < 2; ++i)
        clicks[i].peakKiB = shown[i].program->peakResidentKiB();
    return clicks;
}

const char *verdict(bool met) { return met ? "met" : "MISSED"; }

void printTimes(const char *what, const std::vector<double> &velmora, const std::vector<double> &baseline)
{
    const Summary v(velmora), b(baseline);
    std::printf("  %s\n", what);
    for (const auto &[name, s] : {std::pair{"Velmora", &v}, std::pair{"baseline", &b}})
        std::printf("    %-10s median %7.2f ms   IQR %6.2f - %6.2f   range %6.2f - %6.2f\n", name, s->median(),
                    s->quantile(0.25), s->quantile(0.75), s->min(), s->max());
    const double ratio = v.median() / b.median();
    std::printf("    ratio      median %6.3f   (target <= 1.00: %s; faster than the baseline: %s)\n", ratio,
                verdict(ratio <= 1.0), ratio < 1.0 ? "yes" : "no");
}

void printLatency(const char *what, const std::vector<double> &velmora, const std::vector<double> &baseline)
{
    const Summary v(velmora), b(baseline);
    std::printf("  %s\n", what);
    std::printf("    %-10s median %6.3f ms   p99 %6.3f ms\n", "Velmora", v.median(), v.quantile(0.99));
    std::printf("    %-10s median %6.3f ms   p99 %6.3f ms\n", "baseline", b.median(), b.quantile(0.99));
    const double medianRatio = v.median() / b.median();
    const double p99Ratio = v.quantile(0.99) / b.quantile(0.99);
    std::printf("    ratio      median %6.3f      p99 %6.3f      (target <= 1.10: %s)\n", medianRatio, p99Ratio,
                verdict(medianRatio <= 1.10 && p99Ratio <= 1.10));
}

void printMemory(const char *when, double velmora, double baseline)
{
    std::printf("  %-18s Velmora %6.2f MiB   baseline %6.2f MiB   ratio %5.3f   difference %+5.2f MiB "
                "(target <= +2: %s)\n",
                when, velmora, baseline, velmora / baseline, velmora - baseline, verdict(velmora - baseline <= 2.0));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s VELMORA BASELINE PROBED_VELMORA PROBED_BASELINE [RUNS [CLICKS]]\n", argv[0]);
        return 2;
    }
    const std::string velmora = argv[1], baseline = argv[2], probedVelmora = argv[3], probedBaseline = argv[4];
    const int runs = argc > 5 ? std::stoi(argv[5]) : 30;
    const int clickCount = argc > 6 ? std::stoi(argv[6]) : 200;

    try {
        // What the start-up runs measured, Velmora's first and the baseline's second.
        struct Starts {
            std::vector<double> wall, cpu, peakMiB;
        };
        std::array<Starts, 2> starts;
        for (int run = 0; run < runs; ++run) {
            // Take turns at going first, so that any drift of the machine falls on both alike.
            for (int turn = 0; turn < 2; ++turn) {
                const int i = (run + turn) % 2;
                const Startup s = start(i == 0 ? velmora : baseline);
                starts[i].wall.push_back(s.milliseconds);
                starts[i].cpu.push_back(s.cpuMilliseconds);
                starts[i].peakMiB.push_back(mebibytes(s.peakKiB));
                std::this_thread::sleep_for(kSettle);
            }
        }
        std::printf("Start-up: %d runs each, taking turns\n", runs);
        printTimes("exec to the first frame drawn on the X server", starts[0].wall, starts[1].wall);
        printTimes("processor time of all the program's threads until then", starts[0].cpu, starts[1].cpu);

        std::printf("\nPeak resident memory (VmHWM)\n");
        printMemory("after start-up", Summary(starts[0].peakMiB).median(), Summary(starts[1].peakMiB).median());
        if (clickCount > 0) {
            const auto [vc, bc] = clickInTurns(probedVelmora, probedBaseline, clickCount);
            printMemory("after the clicks", mebibytes(vc.peakKiB), mebibytes(bc.peakKiB));

            std::printf("\nClicks: %d real clicks on cards, timed inside the program\n", clickCount);
            printLatency("press reaching the program to the end of the cell's repaint", vc.fromPress, bc.fromPress);
            printLatency("release reaching the program to the end of the cell's repaint", vc.fromRelease,
                         bc.fromRelease);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velmora-xbench: %s\n", e.what());
        return 1;
    }
    return 0;
}
