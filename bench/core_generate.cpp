#include "generate/HtmlPage.h"
#include "generate/ParameterBlock.h"
#include "generate/PublishPlan.h"
#include "model/Doc.h"
#include "util/FileCopy.h"
#include "util/SunAudio.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <benchmark/benchmark.h>
#include <variant>

namespace {

Doc ManyLocks(int encrypt)
{
    Doc doc;
    doc.encrypt = encrypt;
    doc.failUrl = "http://example.com/denied.html";
    doc.locks.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
        LockEntry lock;
        lock.userId = "user" + QByteArray::number(i);
        lock.password = "secret&#" + QByteArray::number(i * 7919);
        lock.url = "http://example.com/members/page" + QByteArray::number(i) + ".html";
        lock.target = "_top";
        doc.locks.push_back(lock);
    }
    return doc;
}

void BM_BuildParameterBlock(benchmark::State& state)
{
    const Doc doc = ManyLocks(int(state.range(0)));
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray block = BuildParameterBlock(doc);
        size = block.size();
        benchmark::DoNotOptimize(block.constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_BuildParameterBlock)
    ->ArgName("encrypt")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

void BM_BuildHtmlPage(benchmark::State& state)
{
    const Doc doc = ManyLocks(int(state.range(0)));
    for (auto _ : state) {
        const QByteArray page = BuildHtmlPage(doc, HtmlPageForm::File);
        benchmark::DoNotOptimize(page.constData());
    }
}
BENCHMARK(BM_BuildHtmlPage)->ArgName("encrypt")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A folder with one large file, made once for the copy benchmarks.
class LargeFile
{
public:
    LargeFile(const char* name, const QByteArray& header, qint64 size)
        : m_path(m_dir.filePath(QLatin1String(name)))
    {
        QFile file(m_path);
        file.open(QIODevice::WriteOnly);
        file.write(header);
        QByteArray block(1 << 20, '\0');
        for (qint64 i = 0; i < block.size(); ++i)
            block[i] = char(i * 31 + (i >> 9));
        for (qint64 written = header.size(); written < size; written += block.size())
            file.write(block.constData(), qMin<qint64>(block.size(), size - written));
    }

    QString Path() const { return m_path; }
    QString Output(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

constexpr qint64 ClassFileSize = 200 << 20;

const LargeFile& ClassFile()
{
    static const LargeFile file("big.class", {}, ClassFileSize);
    return file;
}

void RunCp(const QString& from, const QString& to)
{
    QProcess::execute(QStringLiteral("cp"), { from, to });
}

// The publish copy replaces an existing file, so it is measured over one.
void BM_CopyFileOver200MB(benchmark::State& state)
{
    const LargeFile& source = ClassFile();
    const QString copy = source.Output("over.class");
    QFile(copy).open(QIODevice::WriteOnly);
    for (auto _ : state) {
        if (!CopyFileOver(source.Path(), copy))
            state.SkipWithError("copy failed");
    }
    state.SetBytesProcessed(state.iterations() * ClassFileSize);
}
BENCHMARK(BM_CopyFileOver200MB)->Unit(benchmark::kMillisecond)->Iterations(8)->UseRealTime();

// cp into a fresh file (argument 0), as the resource copy writes, or over the previous copy
// (argument 1), as the publish copy replaces one.
void BM_Cp200MB(benchmark::State& state)
{
    const LargeFile& source = ClassFile();
    const QString copy = source.Output("copy.class");
    QFile::remove(copy);
    for (auto _ : state) {
        if (state.range(0) == 0) {
            state.PauseTiming();
            QFile::remove(copy);
            state.ResumeTiming();
        }
        RunCp(source.Path(), copy);
    }
    state.SetBytesProcessed(state.iterations() * ClassFileSize);
}
BENCHMARK(BM_Cp200MB)
    ->ArgName("over")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8)
    ->UseRealTime();

// A site folder of 1,000 files in 10 folders, 200 MB in all, made once for the publish
// benchmarks.
class SiteFolder
{
public:
    static constexpr int kFiles = 1000;
    static constexpr qint64 kFileSize = 200 * 1000;

    SiteFolder()
    {
        QByteArray bytes(kFileSize, '\0');
        for (qint64 i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 31 + (i >> 9));
        for (int i = 0; i < kFiles; ++i) {
            const QString folder = m_dir.filePath(QStringLiteral("site/part%1").arg(i % 10));
            QDir().mkpath(folder);
            QFile file(folder + QStringLiteral("/file%1.bin").arg(i));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        }
    }

    QString Site() const { return m_dir.filePath(QStringLiteral("site")); }
    QString Output(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

private:
    QTemporaryDir m_dir;
};

const SiteFolder& Site()
{
    static const SiteFolder site;
    return site;
}

// Publishes the modern box's page and the whole site folder into a fresh folder each iteration
// (the previous one is removed outside the timing), deciding the plan and checking every name
// inside it; compare with cp -r of the same folder below.
void BM_PublishSiteFolder200MB(benchmark::State& state)
{
    const SiteFolder& site = Site();
    const QString out = site.Output("published");
    Doc doc;
    doc.boxKind = BoxKind::Modern;
    doc.siteFolder = QFile::encodeName(site.Site());
    PublishObserver observer;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(out).removeRecursively();
        state.ResumeTiming();
        QDir().mkdir(out);
        const auto planned = MakePublishPlan(doc, { doc.boxKind, doc.siteFolder, {}, {} });
        if (!std::holds_alternative<PublishPlan>(planned)
            || !WritePublishPlan(std::get<PublishPlan>(planned), doc, { "<p>", {} },
                QFile::encodeName(out) + '/', observer)
                    .complete)
            state.SkipWithError("publish failed");
    }
    state.SetBytesProcessed(state.iterations() * SiteFolder::kFiles * SiteFolder::kFileSize);
}
BENCHMARK(BM_PublishSiteFolder200MB)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_CpRecursive200MB(benchmark::State& state)
{
    const SiteFolder& site = Site();
    const QString out = site.Output("copied");
    for (auto _ : state) {
        state.PauseTiming();
        QDir(out).removeRecursively();
        state.ResumeTiming();
        QProcess::execute(QStringLiteral("cp"), { QStringLiteral("-r"), site.Site(), out });
    }
    state.SetBytesProcessed(state.iterations() * SiteFolder::kFiles * SiteFolder::kFileSize);
}
BENCHMARK(BM_CpRecursive200MB)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

QByteArray SunHeader()
{
    QByteArray header(24, '\0');
    const quint32 fields[] = { 0x2E736E64, 24, 0xFFFFFFFF, 1, 8000, 1 };
    for (int i = 0; i < 6; ++i)
        qToBigEndian(fields[i], header.data() + 4 * i);
    return header;
}

const LargeFile& AudioFile()
{
    static const LargeFile file("big.au", SunHeader(), 50 << 20);
    return file;
}

void BM_ConvertSunAudio50MB(benchmark::State& state)
{
    const LargeFile& source = AudioFile();
    const QString wave = source.Output("big.wav");
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(wave);
        state.ResumeTiming();
        if (!ConvertSunAudioFile(source.Path(), wave))
            state.SkipWithError("conversion failed");
    }
    state.SetBytesProcessed(state.iterations() * (50 << 20));
}
BENCHMARK(BM_ConvertSunAudio50MB)->Unit(benchmark::kMillisecond)->Iterations(8);

void BM_Cp50MB(benchmark::State& state)
{
    const LargeFile& source = AudioFile();
    const QString copy = source.Output("copy.au");
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(copy);
        state.ResumeTiming();
        RunCp(source.Path(), copy);
    }
    state.SetBytesProcessed(state.iterations() * (50 << 20));
}
BENCHMARK(BM_Cp50MB)->Unit(benchmark::kMillisecond)->Iterations(8);

} // namespace
