#include "BenchMachine.h"
#include "generate/LockCrypto.h"
#include "generate/LockData.h"
#include "model/Doc.h"

#include <QThread>

#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>

namespace {

constexpr int kLocks = 64;

Doc DistinctLocks(int count)
{
    Doc doc;
    for (int i = 0; i < count; ++i) {
        LockEntry lock;
        lock.userId = "user" + QByteArray::number(i);
        lock.password = "password" + QByteArray::number(i * 7919);
        lock.url = "members/page" + QByteArray::number(i) + ".html";
        doc.locks.push_back(lock);
    }
    return doc;
}

// Wall-clock and processor seconds of the whole process.
struct Seconds
{
    double wall = 0;
    double processor = 0;
};

template<typename Work> Seconds Time(Work work)
{
    const auto wallStart = std::chrono::steady_clock::now();
    const std::clock_t processorStart = std::clock();
    work();
    return { std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count(),
        double(std::clock() - processorStart) / CLOCKS_PER_SEC };
}

// OpenSSL's PBKDF2-HMAC-SHA256 iterations per second on one core, by wall clock and by processor
// time.
Seconds OpenSslRate(int iterations)
{
    constexpr int kRounds = 8;
    const QByteArray salt(16, 'x');
    const Seconds spent = Time([&] {
        for (int i = 0; i < kRounds; ++i)
            benchmark::DoNotOptimize(
                DerivePbkdf2Sha256("user password" + QByteArray::number(i), salt, iterations));
    });
    const double work = kRounds * double(iterations);
    return { work / spent.wall, work / spent.processor };
}

void BM_OpenSslPbkdf2OneCore(benchmark::State& state)
{
    const QByteArray salt(16, 'x');
    for (auto _ : state)
        benchmark::DoNotOptimize(DerivePbkdf2Sha256("user password", salt, int(state.range(0))));
    state.counters["iterations/s"] = benchmark::Counter(
        double(state.iterations()) * double(state.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenSslPbkdf2OneCore)->Arg(600000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Lock data for distinct locks with an empty cache, so every key is derived. "ideal_s" is the
// time all cores would take at OpenSSL's one-core rate measured just before, "ratio" the measured
// wall time over it; "cpu_ratio" compares processor time the same way, which other programs on
// the machine do not disturb.
void BM_LockDerivation(benchmark::State& state)
{
    const int iterations = int(state.range(0));
    const Doc doc = DistinctLocks(kLocks);
    const LockIterations count = *LockIterations::Checked(iterations, LockDataUse::Publish);
    const int cores = QThread::idealThreadCount();
    const Seconds rate = OpenSslRate(iterations);
    const double work = double(kLocks) * iterations;
    Seconds spent;
    for (auto _ : state) {
        LockKeyCache cache;
        const Seconds once
            = Time([&] { benchmark::DoNotOptimize(BuildLockData(doc, count, cache)); });
        spent.wall += once.wall;
        spent.processor += once.processor;
    }
    const double runs = double(state.iterations());
    state.counters["cores"] = cores;
    state.counters["ideal_s"] = work / (cores * rate.wall);
    state.counters["ratio"] = spent.wall / runs / (work / (cores * rate.wall));
    state.counters["cpu_ratio"] = spent.processor / runs / (work / rate.processor);
    NoteLoad(state);
}
BENCHMARK(BM_LockDerivation)
    ->ArgName("iterations")
    ->Arg(600000)
    ->Iterations(3)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// What a regeneration costs once every key is in the cache: ids, encryption and the JSON text.
void BM_LockDataFromCache(benchmark::State& state)
{
    const Doc doc = DistinctLocks(int(state.range(0)));
    const LockIterations count = *LockIterations::Checked(1000, LockDataUse::Preview);
    LockKeyCache cache;
    BuildLockData(doc, count, cache);
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildLockData(doc, count, cache));
}
BENCHMARK(BM_LockDataFromCache)->ArgName("locks")->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
