// Whole programs, measured alternately in the same run, each saving a picture of its first window
// (ZARNITH_SCREENSHOT) and ending, on the offscreen platform:
// - zarnith with the sample project against a minimal Qt Widgets program that shows one label
//   in a window as large as zarnith's, and saves the same picture; goal: ratio at most 1.5;
// - zarnith with a 100,000-lock project against the sample project; goal: ratio at most 1.3;
// - zarnith with a 1,000,000-lock project against zarnith-cli resources reading the same file;
//   goals: at most 2 times the time and 1.5 times the memory.
#include "BenchLocks.h"
#include "BenchMachine.h"
#include "model/ProjectFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {

QString BuildProgram(const char* name)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../") + QLatin1String(name);
}

const QString kSample = QStringLiteral(ZARNITH_SOURCE_DIR "/docs/sample.loc");

// A project of count distinct locks in folder.
QString LargeProject(const QTemporaryDir& folder, int count)
{
    Doc doc;
    FillLocks(doc, count);
    const QString path = folder.filePath(QStringLiteral("locks%1.loc").arg(count));
    return SaveProject(doc, path).ok ? path : QString();
}

// Runs both programs once per iteration, first against second, and reports the medians of their
// times (to the first picture, or whole when a program saves none) and of their memory, and the
// ratios of those medians.
void Compare(benchmark::State& state, const QString& firstProgram, const QStringList& first,
    const QString& secondProgram, const QStringList& second, bool secondShowsPicture = true)
{
    std::vector<double> firstSeconds;
    std::vector<double> secondSeconds;
    std::vector<double> firstMemory;
    std::vector<double> secondMemory;
    for (auto _ : state) {
        const ProcessRun yardstick = RunProcess(secondProgram, second, secondShowsPicture);
        const ProcessRun measured = RunProcess(firstProgram, first, true);
        if (!measured.ok || !yardstick.ok) {
            state.SkipWithError("a program failed");
            return;
        }
        state.SetIterationTime(measured.seconds);
        firstSeconds.push_back(measured.seconds);
        secondSeconds.push_back(yardstick.seconds);
        firstMemory.push_back(measured.peakMegabytes);
        secondMemory.push_back(yardstick.peakMegabytes);
    }
    state.counters["ms"] = 1000 * Median(firstSeconds);
    state.counters["yardstick_ms"] = 1000 * Median(secondSeconds);
    state.counters["ratio"] = Median(firstSeconds) / Median(secondSeconds);
    state.counters["MB"] = Median(firstMemory);
    state.counters["yardstick_MB"] = Median(secondMemory);
    state.counters["memory_ratio"] = Median(firstMemory) / Median(secondMemory);
    NoteLoad(state);
}

// The width and height of the picture the last run saved, from its PNG header; empty if none.
QStringList SavedPictureSize()
{
    QFile picture(qEnvironmentVariable("ZARNITH_SCREENSHOT"));
    const QByteArray header = picture.open(QIODevice::ReadOnly) ? picture.read(24) : QByteArray();
    if (header.size() < 24)
        return {};
    const auto number = [&header](int at) {
        return QString::number(quint32(quint8(header[at])) << 24 | quint8(header[at + 1]) << 16
            | quint8(header[at + 2]) << 8 | quint8(header[at + 3]));
    };
    return { number(16), number(20) };
}

void BM_StartupAgainstMinimalWindow(benchmark::State& state)
{
    const QString zarnith = BuildProgram("zarnith");
    if (!RunProcess(zarnith, { kSample }, true).ok) {
        state.SkipWithError("zarnith failed");
        return;
    }
    Compare(state, zarnith, { kSample },
        QCoreApplication::applicationDirPath() + QStringLiteral("/bench_gui_minimal_window"),
        SavedPictureSize());
}
BENCHMARK(BM_StartupAgainstMinimalWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);

void BM_LargeProjectAgainstSample(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString large = LargeProject(folder, 100000);
    Compare(state, BuildProgram("zarnith"), { large }, BuildProgram("zarnith"), { kSample });
}
BENCHMARK(BM_LargeProjectAgainstSample)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(11);

void BM_MillionLocksAgainstReadingThem(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString huge = LargeProject(folder, 1000000);
    Compare(state, BuildProgram("zarnith"), { huge }, BuildProgram("zarnith-cli"),
        { QStringLiteral("resources"), huge }, false);
}
BENCHMARK(BM_MillionLocksAgainstReadingThem)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir pictures;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("ZARNITH_SCREENSHOT", pictures.filePath(QStringLiteral("window.png")).toLocal8Bit());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
