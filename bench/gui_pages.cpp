// The Locks page with a large lock table: loading it into the list and committing it back, for
// 1,000 and 100,000 locks, on the offscreen platform. Goal: 100,000 locks cost at most 120 times
// what 1,000 cost (no quadratic step).
#include "BenchLocks.h"
#include "model/Doc.h"
#include "pages/ViewLock.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

// One load of the page (as after New or Open), shown and laid out, then an unchanged commit,
// which compares every row with the document.
double SecondsToLoadAndCommit(ViewLock& page)
{
    QElapsedTimer timer;
    timer.start();
    page.OnInitialUpdate();
    QCoreApplication::processEvents();
    page.Commit();
    return timer.nsecsElapsed() / 1e9;
}

void BM_LockPageLoadAndCommit(benchmark::State& state)
{
    Doc doc;
    FillLocks(doc, int(state.range(0)));
    ViewLock page(doc);
    page.show();
    for (auto _ : state)
        state.SetIterationTime(SecondsToLoadAndCommit(page));
    if (doc.IsModified())
        state.SkipWithError("an unchanged commit marked the document modified");
}
BENCHMARK(BM_LockPageLoadAndCommit)
    ->ArgName("locks")
    ->Arg(1000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Both sizes measured alternately in the same run; the ratio is the figure the goal names.
void BM_LockPageScaling(benchmark::State& state)
{
    Doc small;
    FillLocks(small, 1000);
    Doc large;
    FillLocks(large, 100000);
    ViewLock smallPage(small);
    ViewLock largePage(large);
    smallPage.show();
    largePage.show();
    double smallTotal = 0;
    double largeTotal = 0;
    for (auto _ : state) {
        smallTotal += SecondsToLoadAndCommit(smallPage);
        const double seconds = SecondsToLoadAndCommit(largePage);
        largeTotal += seconds;
        state.SetIterationTime(seconds);
    }
    const double iterations = double(state.iterations());
    state.counters["locks_1000_ms"] = 1000 * smallTotal / iterations;
    state.counters["locks_100000_ms"] = 1000 * largeTotal / iterations;
    state.counters["ratio"] = largeTotal / smallTotal;
}
BENCHMARK(BM_LockPageScaling)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
