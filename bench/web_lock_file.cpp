// How long the modern box holds up its page while it takes a large lock file: 200,000 locks
// fetched beside the page in Qt WebEngine, with the longest task the page's main thread ran
// (Long Tasks API) while the locks loaded, and again while an unchanged file was fetched at its
// next reload. Goal: no task over 300 ms.
#include "BenchLocks.h"
#include "BenchWeb.h"
#include "generate/BoxPage.h"
#include "generate/LockData.h"
#include "generate/OutputFile.h"
#include "publish/PreviewServer.h"
#include "util/PreviewDirectory.h"

#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

constexpr int kLocks = 200000;

// The longest task seen since the last call, in milliseconds.
double TakeLongestTask(QWebEnginePage& page)
{
    return Js(page,
        QStringLiteral("(() => { const t = window.longestTask; window.longestTask = 0;"
                       " return t; })()"))
        .toDouble();
}

void BM_LargeLockFile(benchmark::State& state)
{
    Doc doc;
    FillLocks(doc, kLocks);
    doc.readLocksFromFile = 1;
    doc.lockFile = "bench-locks.txt";
    doc.reloadInterval = 2;
    LockKeyCache cache;
    const QByteArray lockData
        = *BuildLockData(doc, *LockIterations::Checked(1, LockDataUse::Preview), cache);
    const QByteArray folder = PreviewDirectory();
    if (!WriteOutputFile(QFile::decodeName(folder + "bench-locks.json"), lockData).ok
        || !WriteOutputFile(QFile::decodeName(folder + "bench-box.html"),
            BuildBoxPage(doc, BoxKind::Modern, HtmlPageForm::File, lockData))
                .ok) {
        state.SkipWithError("the page could not be written");
        return;
    }
    state.counters["lock_file_MB"] = double(lockData.size()) / 1e6;

    QWebEngineProfile profile;
    QWebEngineScript observer;
    observer.setSourceCode(QStringLiteral(
        "window.longestTask = 0; new PerformanceObserver(list => list.getEntries().forEach("
        "e => { window.longestTask = Math.max(window.longestTask, e.duration); }))"
        ".observe({ entryTypes: ['longtask'] });"));
    observer.setInjectionPoint(QWebEngineScript::DocumentCreation);
    observer.setWorldId(QWebEngineScript::MainWorld);
    profile.scripts()->insert(observer);
    for (auto _ : state) {
        QWebEnginePage page(&profile);
        page.load(PreviewAddress(QStringLiteral("bench-box.html")));
        const QString loaded
            = QStringLiteral("!!document.querySelector('.zarnith-box button') && "
                             "!document.querySelector('.zarnith-box button').disabled");
        if (!QTest::qWaitFor([&] { return Js(page, loaded).toBool(); }, 120000)) {
            state.SkipWithError("the locks did not load");
            return;
        }
        state.counters["longest_task_load_ms"] = TakeLongestTask(page);
        // Two reload intervals: the unchanged file is fetched again at least once.
        QTest::qWait(4500);
        state.counters["longest_task_reload_ms"] = TakeLongestTask(page);
    }
}
BENCHMARK(BM_LargeLockFile)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunWebBenchmarks(argc, argv);
}
