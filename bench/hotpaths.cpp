// The work behind start-up and a click, one piece at a time. The board's
// operations run on their own; the pictures and the painting run offscreen,
// the painting next to the baseline's 52 solid rectangles.

#include "rectanglegrid.h"

#include <board/board.h>
#include <ui/boardview.h>
#include <ui/cardpixmaps.h>
#include <ui/mainwindow.h>
#include <board/geometry.h>
#include <pictures/pictures.h>

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

using namespace velmora;

// The compiler composes the pictures; all that is left at run time is finding them.
void LookUpAllPictures(benchmark::State &state)
{
    for (auto _ : state) {
        for (int i = 0; i < kCardCount; ++i)
            benchmark::DoNotOptimize(&cardPicture(cardAt(i).rank, cardAt(i).suit));
        benchmark::DoNotOptimize(&markerPicture());
        benchmark::DoNotOptimize(&appIcon(32));
        benchmark::DoNotOptimize(&appIcon(16));
    }
}
BENCHMARK(LookUpAllPictures);

// What start-up does with them: every card and the marker turned into a pixmap.
void LoadCardPixmaps(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CardPixmaps::fromPictures());
}
BENCHMARK(LoadCardPixmaps)->Unit(benchmark::kMicrosecond);

void LoadApplicationIcon(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(applicationIcon());
}
BENCHMARK(LoadApplicationIcon)->Unit(benchmark::kMicrosecond);

void HitTest(benchmark::State &state)
{
    const Board board;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(0, kClientWidth - 1), y(0, kClientHeight - 1);
    std::vector<std::pair<int, int>> points(1024);
    for (auto &p : points)
        p = {x(random), y(random)};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto &[px, py] = points[i++ % points.size()];
        benchmark::DoNotOptimize(board.hitTest(px, py));
    }
}
BENCHMARK(HitTest);

void MarkPlayed(benchmark::State &state)
{
    Board board;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(board.markPlayed(cardAt(i)));
        if (++i == kCardCount) {
            state.PauseTiming();
            board.resetBoard();
            i = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(MarkPlayed);

void ResetBoard(benchmark::State &state)
{
    Board board;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kCardCount; ++i)
            board.markPlayed(cardAt(i));
        state.ResumeTiming();
        benchmark::DoNotOptimize(board.resetBoard());
    }
}
BENCHMARK(ResetBoard);

// Paints the region of the widget as its own window would, into an image.
void paint(benchmark::State &state, QWidget &widget, auto regionOf)
{
    QImage target(widget.size(), QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        widget.render(&target, QPoint(), regionOf(cardAt(i)));
        i = (i + 1) % kCardCount;
    }
}

QRegion oneCell(Card card)
{
    const PixelRect r = cellRect(card);
    return QRegion(r.left, r.top, r.width, r.height);
}

QRegion wholeGrid(Card) { return QRegion(kGridRect.left, kGridRect.top, kGridRect.width, kGridRect.height); }

template <auto regionOf>
void PaintVelmora(benchmark::State &state)
{
    MainWindow window;
    paint(state, *window.findChild<BoardView *>(), regionOf);
}

template <auto regionOf>
void PaintBaseline(benchmark::State &state)
{
    RectangleGrid grid;
    paint(state, grid, regionOf);
}

BENCHMARK(PaintVelmora<oneCell>)->Name("PaintOneCell/Velmora");
BENCHMARK(PaintBaseline<oneCell>)->Name("PaintOneCell/baseline");
BENCHMARK(PaintVelmora<wholeGrid>)->Name("PaintWholeGrid/Velmora")->Unit(benchmark::kMicrosecond);
BENCHMARK(PaintBaseline<wholeGrid>)->Name("PaintWholeGrid/baseline")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    // Pixmaps and painting need the toolkit, but no screen.
    static int toolkitArgc = 3;
    static char offscreen[] = "offscreen";
    static char platform[] = "-platform";
    static char *toolkitArgv[] = {argv[0], platform, offscreen, nullptr};
    QApplication app(toolkitArgc, toolkitArgv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
