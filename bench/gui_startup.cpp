// Time from starting zarnith to its main window shown, against a minimal Qt Widgets program that
// shows one window, both on the offscreen platform and measured alternately in the same run.
// Each program saves its shown window (ZARNITH_SCREENSHOT) and prints one line; the time to that
// line is the start-up time. Goal: ratio at most 2.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Seconds until the program reported its window shown; negative when it failed.
double SecondsToShown(const QString& program, const QString& picture)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("ZARNITH_SCREENSHOT"), picture);
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, {});
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(30000))
            return -1;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    process.waitForFinished(30000);
    return process.exitCode() == 0 ? seconds : -1;
}

void BM_StartupAgainstMinimalWindow(benchmark::State& state)
{
    const QString folder = QCoreApplication::applicationDirPath();
    const QString zarnith = folder + QStringLiteral("/../zarnith");
    const QString minimal = folder + QStringLiteral("/bench_gui_minimal_window");
    QTemporaryDir pictures;
    double zarnithTotal = 0;
    double minimalTotal = 0;
    for (auto _ : state) {
        const double yardstick
            = SecondsToShown(minimal, pictures.filePath(QStringLiteral("m.png")));
        const double seconds = SecondsToShown(zarnith, pictures.filePath(QStringLiteral("z.png")));
        if (seconds < 0 || yardstick < 0) {
            state.SkipWithError("a program did not show its window");
            return;
        }
        state.SetIterationTime(seconds);
        zarnithTotal += seconds;
        minimalTotal += yardstick;
    }
    const double iterations = double(state.iterations());
    state.counters["zarnith_ms"] = 1000 * zarnithTotal / iterations;
    state.counters["minimal_ms"] = 1000 * minimalTotal / iterations;
    state.counters["ratio"] = zarnithTotal / minimalTotal;
}
BENCHMARK(BM_StartupAgainstMinimalWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
