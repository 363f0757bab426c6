#include "generate/LockLines.h"
#include "model/Doc.h"
#include "model/ProjectFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int LockCount = 100000;

Doc LargeProject()
{
    Doc doc;
    doc.locks.reserve(LockCount);
    for (int i = 0; i < LockCount; ++i) {
        const QByteArray number = QByteArray::number(i);
        doc.locks.push_back({ "user" + number, "pass" + number + "word",
            "https://example.com/members/area" + number + "/index.html", i % 3 ? "_top" : "" });
    }
    return doc;
}

// One project file of LockCount locks, written once for all the read benchmarks.
const QString& LargeProjectPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("large.loc"));
        Doc doc = LargeProject();
        if (!SaveProject(doc, file).ok)
            std::abort();
        return file;
    }();
    return path;
}

qint64 LargeProjectSize()
{
    return QFile(LargeProjectPath()).size();
}

void BM_ReadProjectFileRaw(benchmark::State& state)
{
    const QString& path = LargeProjectPath();
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll());
    }
    state.SetBytesProcessed(state.iterations() * LargeProjectSize());
}

void BM_LoadProject(benchmark::State& state)
{
    const QString& path = LargeProjectPath();
    for (auto _ : state) {
        Doc doc;
        if (!LoadProject(doc, path).ok || doc.locks.size() != LockCount)
            state.SkipWithError("project did not load");
        benchmark::DoNotOptimize(doc.locks.data());
    }
    state.SetBytesProcessed(state.iterations() * LargeProjectSize());
}

void BM_SaveProject(benchmark::State& state)
{
    Doc doc = LargeProject();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.loc"));
    for (auto _ : state) {
        if (!SaveProject(doc, path).ok)
            state.SkipWithError("project did not save");
    }
    state.SetBytesProcessed(state.iterations() * LargeProjectSize());
}

void BM_BuildLockLines(benchmark::State& state)
{
    Doc doc = LargeProject();
    doc.encrypt = int(state.range(0));
    const bool forFile = state.range(1) != 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray lines = BuildLockLines(doc, forFile);
        bytes += lines.size();
        benchmark::DoNotOptimize(lines.constData());
    }
    state.SetBytesProcessed(bytes);
}

} // namespace

BENCHMARK(BM_ReadProjectFileRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildLockLines)
    ->ArgNames({ "encrypt", "forFile" })
    ->Args({ 0, 0 })
    ->Args({ 1, 0 })
    ->Args({ 0, 1 })
    ->Args({ 1, 1 })
    ->Unit(benchmark::kMillisecond);
