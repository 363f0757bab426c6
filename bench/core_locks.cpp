#include "generate/LockCrypto.h"
#include "generate/LockData.h"
#include "model/Doc.h"

#include <QThread>

#include <benchmark/benchmark.h>
#include <chrono>

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

// OpenSSL's PBKDF2-HMAC-SHA256 iterations per second on one core, timed by wall clock.
double OpenSslRate(int iterations)
{
    constexpr int kRounds = 4;
    const QByteArray salt(16, 'x');
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i)
        benchmark::DoNotOptimize(
            DerivePbkdf2Sha256("user password" + QByteArray::number(i), salt, iterations));
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return kRounds * double(iterations) / elapsed.count();
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

// Lock data for distinct locks with an empty cache, so every key is derived; "ideal_s" is the
// time all cores would take at OpenSSL's one-core rate measured just before, "ratio" the
// measured time over it.
void BM_LockDerivation(benchmark::State& state)
{
    const int iterations = int(state.range(0));
    const Doc doc = DistinctLocks(kLocks);
    const LockIterations count = *LockIterations::Checked(iterations, LockDataUse::Publish);
    const int cores = QThread::idealThreadCount();
    const double ideal = double(kLocks) * iterations / (cores * OpenSslRate(iterations));
    double seconds = 0;
    for (auto _ : state) {
        LockKeyCache cache;
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(BuildLockData(doc, count, cache));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double measured = seconds / double(state.iterations());
    state.counters["cores"] = cores;
    state.counters["ideal_s"] = ideal;
    state.counters["ratio"] = measured / ideal;
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

BENCHMARK_MAIN();
