// The Locks page with a large lock table, on the offscreen platform:
// - loading it into the list and committing it back, for 1,000 and 100,000 locks; goal: 100,000
//   locks cost at most 120 times what 1,000 cost (no quadratic step);
// - typing into Find member over 1,000,000 locks, each key shown before the next; goal: every
//   key at most 100 ms.
#include "BenchLocks.h"
#include "BenchMachine.h"
#include "forms/LocksPageForm.h"
#include "framework/FormControls.h"
#include "model/Doc.h"
#include "pages/History.h"
#include "pages/ViewLock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

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
    History urls;
    ViewLock page(doc, urls);
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
    History urls;
    ViewLock smallPage(small, urls);
    ViewLock largePage(large, urls);
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
    NoteLoad(state);
}
BENCHMARK(BM_LockPageScaling)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// One word typed key by key and erased again, as a user looks for a member: the first key
// searches every lock, the next ones the rows shown, the erasing ones every lock again, and the
// last shows the whole list.
void BM_FindMemberKeystroke(benchmark::State& state)
{
    Doc doc;
    FillLocks(doc, 1000000);
    History urls;
    ViewLock page(doc, urls);
    page.OnInitialUpdate();
    page.show();
    QCoreApplication::processEvents();
    QLineEdit* find = FormControls<LocksPageForm>(page).findEdit;
    const QString word = QStringLiteral("page12345");
    QStringList keys;
    for (qsizetype length = 1; length <= word.size(); ++length)
        keys << word.left(length);
    for (qsizetype length = word.size() - 1; length >= 0; --length)
        keys << word.left(length);
    // Wall-clock and processor time of each key: on a machine that other programs share, the
    // processor time is what the key itself cost.
    double worst = 0;
    double total = 0;
    double worstProcessor = 0;
    double totalProcessor = 0;
    int typed = 0;
    for (auto _ : state) {
        for (const QString& text : keys) {
            QElapsedTimer timer;
            timer.start();
            const double processorStart = ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
            find->setText(text);
            QCoreApplication::processEvents();
            const double processor = ClockSeconds(CLOCK_THREAD_CPUTIME_ID) - processorStart;
            const double seconds = timer.nsecsElapsed() / 1e9;
            worst = std::max(worst, seconds);
            total += seconds;
            worstProcessor = std::max(worstProcessor, processor);
            totalProcessor += processor;
            ++typed;
        }
        state.SetIterationTime(total / typed);
    }
    state.counters["worst_key_ms"] = 1000 * worst;
    state.counters["mean_key_ms"] = 1000 * total / typed;
    state.counters["worst_key_cpu_ms"] = 1000 * worstProcessor;
    state.counters["mean_key_cpu_ms"] = 1000 * totalProcessor / typed;
    NoteLoad(state);
}
BENCHMARK(BM_FindMemberKeystroke)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

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
