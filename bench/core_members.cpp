// Publishing a members' site: 1,000 pages of 20 KB, each in one of 3 member areas, for 1,000
// locks that open one area each, against the same site and locks without areas. Each publish goes
// as the window's Publish to Folder goes, with the lock keys already derived in the key cache it
// keeps: area keys kept current, lock data, page, plan, then every file written into a fresh
// folder. Goal: at most 1.5 times as long with the areas (medians of 10, one after the other).
#include "BenchLocks.h"
#include "BenchMachine.h"
#include "generate/BoxPage.h"
#include "generate/LockData.h"
#include "generate/MemberKeys.h"
#include "generate/PublishPlan.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <time.h>
#include <variant>
#include <vector>

namespace {

constexpr int kPages = 1000;
constexpr int kPageSize = 20 * 1000;
constexpr int kAreas = 3;
constexpr int kRuns = 10;
// The keys are derived before the timing, so the count only sets how long that takes.
constexpr int kIterations = 1000;

// The site folder: page i lies in folder "area<i % 3>".
QByteArray MakeSite(const QTemporaryDir& dir)
{
    QByteArray filler;
    while (filler.size() < kPageSize)
        filler += "<p>Members read this paragraph of news, with nothing in it worth hiding.</p>\n";
    for (int i = 0; i < kPages; ++i) {
        const QString folder = dir.filePath(QStringLiteral("site/area%1").arg(i % kAreas));
        QDir().mkpath(folder);
        QFile page(folder + QStringLiteral("/page%1.html").arg(i));
        const QByteArray head = "<!DOCTYPE html><title>Page " + QByteArray::number(i) + "</title>";
        if (!page.open(QIODevice::WriteOnly)
            || page.write(head + filler.left(kPageSize - head.size())) < 0)
            return {};
    }
    return QFile::encodeName(dir.filePath(QStringLiteral("site")));
}

struct Publish
{
    double seconds = -1; // negative when it failed
    double processorSeconds = 0;
};

// One publish of doc into the new folder out. Every publish has a folder of its own: deleting
// thousands of files between them would make the file system's search for free inodes the
// largest part of the next publish.
Publish PublishOnce(Doc& doc, LockKeyCache& cache, const QString& out)
{
    QElapsedTimer timer;
    const double processorStart = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
    timer.start();
    KeepAreaKeysCurrent(doc);
    const std::optional<QByteArray> lockData
        = BuildLockData(doc, *LockIterations::Checked(kIterations, LockDataUse::Preview), cache);
    if (!lockData)
        return {};
    const QByteArray page = BuildBoxPage(doc, BoxKind::Modern, HtmlPageForm::File, *lockData);
    const auto planned = MakePublishPlan(doc, { BoxKind::Modern, doc.siteFolder, {}, {} });
    PublishObserver observer;
    if (!std::holds_alternative<PublishPlan>(planned) || !QDir().mkdir(out)
        || !WritePublishPlan(std::get<PublishPlan>(planned), doc, { page, *lockData },
            QFile::encodeName(out) + '/', observer)
                .complete)
        return {};
    return { double(timer.nsecsElapsed()) / 1e9,
        ClockSeconds(CLOCK_PROCESS_CPUTIME_ID) - processorStart };
}

void BM_PublishMembersSite(benchmark::State& state)
{
    QTemporaryDir dir;
    Doc plain;
    FillLocks(plain, kPages);
    plain.boxKind = BoxKind::Modern;
    plain.siteFolder = MakeSite(dir);
    if (plain.siteFolder.isEmpty()) {
        state.SkipWithError("the site could not be written");
        return;
    }
    Doc members = plain;
    for (int area = 0; area < kAreas; ++area) {
        MemberArea added;
        added.name = "area" + QByteArray::number(area);
        added.patterns = { added.name + "/**" };
        members.areas.push_back(added);
    }
    for (std::size_t i = 0; i < members.locks.size(); ++i)
        members.locks[i].areas = QByteArrayList { members.areas[i % kAreas].name };
    members.LocksChanged();
    RefreshAreaKeys(members);
    LockKeyCache cache;
    int published = 0;
    const auto out
        = [&dir, &published] { return dir.filePath(QStringLiteral("out%1").arg(++published)); };
    // Derives every key once: both projects' locks have the same secrets.
    if (PublishOnce(plain, cache, out()).seconds < 0
        || PublishOnce(members, cache, out()).seconds < 0) {
        state.SkipWithError("publish failed");
        return;
    }
    for (auto _ : state) {
        std::vector<double> withAreas;
        std::vector<double> without;
        std::vector<double> withAreasProcessor;
        std::vector<double> withoutProcessor;
        for (int run = 0; run < kRuns; ++run) {
            const Publish plainRun = PublishOnce(plain, cache, out());
            const Publish membersRun = PublishOnce(members, cache, out());
            without.push_back(plainRun.seconds);
            withAreas.push_back(membersRun.seconds);
            withoutProcessor.push_back(plainRun.processorSeconds);
            withAreasProcessor.push_back(membersRun.processorSeconds);
        }
        if (*std::min_element(without.begin(), without.end()) < 0
            || *std::min_element(withAreas.begin(), withAreas.end()) < 0) {
            state.SkipWithError("publish failed");
            return;
        }
        state.SetIterationTime(Median(withAreas));
        state.counters["areas_ms"] = Median(withAreas) * 1000;
        state.counters["no_areas_ms"] = Median(without) * 1000;
        state.counters["ratio"] = Median(withAreas) / Median(without);
        state.counters["cpu_ratio"] = Median(withAreasProcessor) / Median(withoutProcessor);
    }
    NoteLoad(state);
}
BENCHMARK(BM_PublishMembersSite)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
