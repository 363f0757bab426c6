// The Preview page's refresh of a 1,000-lock project after a change of colour only: writing the
// preview page and its files as the page does, with the classic applet alone against the page
// with both boxes that the Preview page shows (its lock data from the open project's key cache,
// warm after the first refresh). Goal: both under 1.5 times the classic refresh.
// The two kinds take turns in one run, so that a change in the machine's speed during the run
// (the kernel writing back what earlier refreshes wrote, other programs) falls on both alike:
// measured one after the other, the same kind took up to twice as long when it came second.
#include "BenchLocks.h"
#include "BenchMachine.h"
#include "generate/ResourceList.h"
#include "model/BoxKind.h"
#include "model/Doc.h"
#include "publish/DocOutputs.h"
#include "publish/ProjectState.h"
#include "util/PreviewDirectory.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int kRefreshesPerTurn = 50;

// One turn of a kind: a refresh that is not measured, which rewrites what the other kind left in
// the preview folder, then measured refreshes after a change of colour only.
bool Turn(Doc& doc, DocOutputs& outputs, BoxKind kind, std::vector<double>& wall,
    std::vector<double>& processor)
{
    doc.backgroundColor ^= 0x000101;
    if (!outputs.WritePreviewPage(kind))
        return false;
    for (int refresh = 0; refresh < kRefreshesPerTurn; ++refresh) {
        doc.backgroundColor ^= 0x000101;
        const double wallStart = ClockSeconds(CLOCK_MONOTONIC);
        const double processorStart = ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
        if (!outputs.WritePreviewPage(kind))
            return false;
        processor.push_back(ClockSeconds(CLOCK_THREAD_CPUTIME_ID) - processorStart);
        wall.push_back(ClockSeconds(CLOCK_MONOTONIC) - wallStart);
    }
    return true;
}

// Medians of the refreshes' times, in turns of each kind, and their ratios.
void BM_PreviewRefreshAfterColourChange(benchmark::State& state)
{
    Doc doc;
    FillLocks(doc, 1000);
    ProjectState project;
    DocOutputs outputs(doc, project, nullptr);
    // The first refresh of the project derives the keys; the ones measured find them.
    if (!outputs.WritePreviewPage(BoxKind::Both)) {
        state.SkipWithError("the preview page could not be written");
        return;
    }
    std::vector<double> classicWall, classicProcessor, bothWall, bothProcessor;
    for (auto _ : state) {
        if (!Turn(doc, outputs, BoxKind::Classic, classicWall, classicProcessor)
            || !Turn(doc, outputs, BoxKind::Both, bothWall, bothProcessor)) {
            state.SkipWithError("the preview page could not be written");
            break;
        }
    }
    state.counters["classic_ms"] = 1000 * Median(classicWall);
    state.counters["both_ms"] = 1000 * Median(bothWall);
    state.counters["ratio"] = Median(bothWall) / Median(classicWall);
    state.counters["cpu_ratio"] = Median(bothProcessor) / Median(classicProcessor);
    NoteLoad(state);
    DeletePreviewFiles(PreviewDirectory());
}
BENCHMARK(BM_PreviewRefreshAfterColourChange)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The page's resources include the applet class beside the program; a stand-in does here.
    QFile applet(QFile::decodeName(AppletClassPath()));
    if (!applet.exists() && applet.open(QIODevice::WriteOnly))
        applet.write("\xCA\xFE\xBA\xBE stand-in");
    applet.close();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
