// The Preview page's refresh of a 1,000-lock project after a change of colour only: writing the
// preview page and its files as the page does, with the classic applet alone against the page
// with both boxes that the Preview page shows (its lock data from the open project's key cache,
// warm after the first refresh). Goal: both under 1.5 times the classic refresh.
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

namespace {

void BM_PreviewRefreshAfterColourChange(benchmark::State& state)
{
    const BoxKind kind = static_cast<BoxKind>(state.range(0));
    Doc doc;
    FillLocks(doc, 1000);
    ProjectState project;
    DocOutputs outputs(doc, project, nullptr);
    // The first refresh of the project derives the keys; the ones measured find them.
    if (!outputs.WritePreviewPage(kind))
        state.SkipWithError("the preview page could not be written");
    for (auto _ : state) {
        doc.backgroundColor ^= 0x000101;
        benchmark::DoNotOptimize(outputs.WritePreviewPage(kind));
    }
    state.SetLabel(BoxKindName(kind).toStdString());
    NoteLoad(state);
    DeletePreviewFiles(PreviewDirectory());
}
BENCHMARK(BM_PreviewRefreshAfterColourChange)
    ->Arg(int(BoxKind::Classic))
    ->Arg(int(BoxKind::Both))
    ->Unit(benchmark::kMillisecond);

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
