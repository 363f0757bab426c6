// Importing 100,000 members from CSV with zarnith-cli locks-import into an empty project, against
// zarnith-cli build of the same locks as JSON, whole programs measured alternately in the same
// run. Goal: at most 2 times the build.
#include "BenchLocks.h"
#include "BenchMachine.h"
#include "generate/LockCsv.h"
#include "model/ProjectFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

void BM_CsvImportAgainstJsonBuild(benchmark::State& state)
{
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/../zarnith-cli");
    QTemporaryDir folder;
    const auto path = [&folder](const char* name) { return folder.filePath(QLatin1String(name)); };
    Doc doc;
    FillLocks(doc, 100000);
    QFile csv(path("members.csv"));
    QProcess dump;
    dump.setStandardOutputFile(path("members.json"));
    Doc empty;
    if (!SaveProject(doc, path("members.loc")).ok || !SaveProject(empty, path("empty.loc")).ok
        || !csv.open(QIODevice::WriteOnly) || csv.write(LocksToCsv(doc)) < 0) {
        state.SkipWithError("the files to read could not be written");
        return;
    }
    csv.close();
    dump.start(cli, { QStringLiteral("dump"), path("members.loc") });
    if (!dump.waitForFinished(60000) || dump.exitCode() != 0) {
        state.SkipWithError("zarnith-cli dump failed");
        return;
    }

    double importSeconds = 0;
    double buildSeconds = 0;
    for (auto _ : state) {
        const ProcessRun build
            = RunProcess(cli, { QStringLiteral("build"), path("members.json"), path("built.loc") });
        const ProcessRun import = RunProcess(cli,
            { QStringLiteral("locks-import"), path("empty.loc"), path("members.csv"),
                QStringLiteral("-o"), path("imported.loc") });
        if (!build.ok || !import.ok) {
            state.SkipWithError("zarnith-cli failed");
            return;
        }
        state.SetIterationTime(import.seconds);
        importSeconds += import.seconds;
        buildSeconds += build.seconds;
    }
    const double runs = double(state.iterations());
    state.counters["import_ms"] = 1000 * importSeconds / runs;
    state.counters["build_ms"] = 1000 * buildSeconds / runs;
    state.counters["ratio"] = importSeconds / buildSeconds;
    NoteLoad(state);
}
BENCHMARK(BM_CsvImportAgainstJsonBuild)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
