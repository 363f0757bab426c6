// How much longer a protected page takes to show than the same page unprotected, in Qt WebEngine
// (Chromium): a page of 1 MB in a member area, opened with a kept key (the member logged in once
// in this tab), against the same page outside the areas, both published into the preview folder
// and loaded from the previews' web server. Each figure is the time from the start of the
// navigation until the page's own script at its end runs, medians of 25 loads of each, one after
// the other. Goal: at most 1.3 times as long.
#include "BenchMachine.h"
#include "BenchWeb.h"
#include "generate/BoxPage.h"
#include "generate/LockData.h"
#include "generate/MemberKeys.h"
#include "generate/PublishPlan.h"
#include "model/Doc.h"
#include "publish/PreviewServer.h"
#include "util/PreviewDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <algorithm>
#include <variant>
#include <vector>

namespace {

constexpr int kPageSize = 1000 * 1000;
constexpr int kLoads = 25;

// The page, ending in a script that notes when it ran.
QByteArray BigPage()
{
    QByteArray page = "<!DOCTYPE html><title>News</title><h1>News</h1>\n";
    const QByteArray end = "<script>window.shownAt = performance.now();</script>\n";
    for (int i = 0; page.size() + end.size() < kPageSize; ++i)
        page += "<p>Paragraph " + QByteArray::number(i)
            + " of the members' news, long enough to be read as text and no more.</p>\n";
    return page + end;
}

// Loads the preview file at path and waits for its script's mark: milliseconds since the start of
// the navigation, or a negative number when it never came.
double ShownAfter(QWebEnginePage& page, const QString& path)
{
    page.load(PreviewAddress(path));
    double shown = -1;
    WaitUntil(
        [&] {
            const QVariant mark = Js(page,
                QStringLiteral("location.pathname === '/%1' && window.shownAt || -1").arg(path));
            shown = mark.toDouble();
            return shown >= 0;
        },
        60000);
    return shown;
}

void BM_ProtectedPageWithAKeptKey(benchmark::State& state)
{
    QTemporaryDir site;
    QDir(site.path()).mkpath(QStringLiteral("protected"));
    QDir(site.path()).mkpath(QStringLiteral("open"));
    const QByteArray content = BigPage();
    for (const char* name : { "protected/page.html", "open/page.html" }) {
        QFile file(site.filePath(QLatin1String(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
            state.SkipWithError("the site could not be written");
            return;
        }
    }
    Doc doc;
    doc.boxKind = BoxKind::Modern;
    doc.siteFolder = QFile::encodeName(site.path());
    LockEntry lock;
    lock.userId = "member";
    lock.password = "member-password";
    lock.url = "protected/page.html";
    doc.locks = { lock };
    doc.LocksChanged();
    MemberArea area;
    area.name = "members";
    area.patterns = { "protected/**" };
    doc.areas = { area };
    RefreshAreaKeys(doc);
    LockKeyCache cache;
    const QByteArray lockData
        = *BuildLockData(doc, *LockIterations::Checked(1000, LockDataUse::Preview), cache);
    const QByteArray folder = PreviewDirectory();
    const QString boxPage = QStringLiteral("bench-members.html");
    const auto planned = MakePublishPlan(
        doc, { BoxKind::Modern, doc.siteFolder, folder, QFile::encodeName(boxPage) });
    PublishObserver observer;
    if (folder.isEmpty() || !std::holds_alternative<PublishPlan>(planned)
        || !WritePublishPlan(std::get<PublishPlan>(planned), doc,
            { BuildBoxPage(doc, BoxKind::Modern, HtmlPageForm::File, lockData), lockData }, folder,
            observer)
                .complete) {
        state.SkipWithError("the site could not be published into the preview folder");
        return;
    }

    QWebEngineProfile profile;
    QWebEnginePage page(&profile);
    // One login keeps the area's key for the tab, as a member's browser does.
    page.load(PreviewAddress(boxPage));
    const QString ready = QStringLiteral("(() => { const b = document.querySelector("
                                         "'.zarnith-box button[type=submit]'); "
                                         "return !!b && !b.disabled; })()");
    if (!WaitUntil([&] { return Js(page, ready).toBool(); }, 60000)) {
        state.SkipWithError("the box did not load its locks");
        return;
    }
    Js(page,
        QStringLiteral("(() => { const box = document.querySelector('.zarnith-box');"
                       "const fields = box.querySelectorAll('input');"
                       "fields[0].value = 'member'; fields[1].value = 'member-password';"
                       "box.querySelector('button[type=submit]').click(); })()"));
    if (!WaitUntil(
            [&] {
                return Js(page, QStringLiteral("!!window.shownAt && location.pathname")).toString()
                    == QLatin1String("/protected/page.html");
            },
            60000)) {
        state.SkipWithError("the login did not open the protected page");
        return;
    }
    for (auto _ : state) {
        std::vector<double> plain;
        std::vector<double> sealed;
        for (int load = 0; load < kLoads; ++load) {
            plain.push_back(ShownAfter(page, QStringLiteral("open/page.html")));
            sealed.push_back(ShownAfter(page, QStringLiteral("protected/page.html")));
        }
        if (*std::min_element(plain.begin(), plain.end()) < 0
            || *std::min_element(sealed.begin(), sealed.end()) < 0) {
            state.SkipWithError("a page never showed");
            return;
        }
        state.SetIterationTime(Median(sealed) / 1000);
        state.counters["protected_ms"] = Median(sealed);
        state.counters["unprotected_ms"] = Median(plain);
        state.counters["ratio"] = Median(sealed) / Median(plain);
    }
    NoteLoad(state);
    for (const PlannedFile& file : std::get<PublishPlan>(planned).files)
        QFile::remove(QFile::decodeName(folder + file.name));
    for (const char* made : { "protected", "open" })
        QDir(QFile::decodeName(folder) + QLatin1String(made)).removeRecursively();
}
BENCHMARK(BM_ProtectedPageWithAKeptKey)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunWebBenchmarks(argc, argv);
}
