// The Preview page of the sample project in the browser engine: logging in with a lock and
// spending every try stay on the preview, and the status bar says where the box would have gone;
// a lock leading to a protected page of the site folder shows it there, decrypted; without the
// preview server the page opened from disk takes the locks of each refresh.

#include "model/Doc.h"
#include "model/ProjectFile.h"
#include "preview/PreviewBrowserLoader.h"
#include "preview/ViewPreview.h"
#include "publish/PreviewServer.h"
#include "publish/ProjectState.h"
#include "support/TestForms.h"
#include "util/PreviewDirectory.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

QVariant Js(QWebEngineView& view, const QString& script)
{
    QVariant result;
    bool done = false;
    view.page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000)) << qPrintable(script);
    return result;
}

// Types a user ID and password into the box and presses its button once it takes them.
void LogIn(QWebEngineView& view, const QString& user, const QString& password)
{
    const QString ready
        = QStringLiteral("(() => { const b = document.querySelector('.zarnith-box button'); "
                         "return !!b && !b.disabled; })()");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Js(view, ready).toBool(); }, 30000));
    Js(view,
        QStringLiteral("(() => { const inputs = document.querySelectorAll('.zarnith-box input');"
                       " inputs[0].value = '%1'; inputs[1].value = '%2';"
                       " document.querySelector('.zarnith-box button').click(); })()")
            .arg(user, password));
}

TEST(PreviewLogin, TheSampleProjectsLocksAndFailUrlAreReportedAndAMemberPageShowsDecrypted)
{
    QCoreApplication::addLibraryPath(QStringLiteral(ZARNITH_BUILD_DIR));
    Doc doc;
    ASSERT_TRUE(LoadProject(
        doc, QDir::cleanPath(QStringLiteral(ZARNITH_TEST_DATA_DIR "/../../docs/sample.loc")))
                    .ok);
    // Ann's lock leads to a page of a member area.
    QTemporaryDir site;
    const QByteArray news = "Ann's news, for members only";
    QFile page(site.filePath(QStringLiteral("members/ann.html")));
    ASSERT_TRUE(QDir(site.path()).mkdir(QStringLiteral("members"))
        && page.open(QIODevice::WriteOnly) && page.write("<p>" + news + "</p>") > 0);
    page.close();
    doc.siteFolder = QFile::encodeName(site.path());
    MemberArea area;
    area.name = "Members";
    area.patterns = { "members/**" };
    doc.areas = { area };
    QStringList statusBar;
    DeletePreviewFiles(PreviewDirectory());

    ProjectState project;
    ViewPreview preview(doc, project);
    QObject::connect(&preview, &ViewPreview::statusTextChanged,
        [&](const QString& text) { statusBar.append(text); });
    preview.resize(800, 500);
    preview.show();
    preview.OnInitialUpdate();
    auto* browser = preview.findChild<QWebEngineView*>();
    ASSERT_NE(browser, nullptr) << "the WebEngine plugin could not be loaded";
    preview.RefreshPreviewPage();
    const QString written
        = QFile::decodeName(PreviewDirectory()) + QStringLiteral("members/ann.html");
    QFile sealed(written);
    ASSERT_TRUE(sealed.open(QIODevice::ReadOnly));
    EXPECT_FALSE(sealed.readAll().contains(news));

    LogIn(*browser, QStringLiteral("ann"), QStringLiteral("tulip"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return statusBar.contains("Lock for ann: members/ann.html in _top"); }, 30000))
        << qPrintable(statusBar.join(QLatin1Char('|')));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return Js(*browser, QStringLiteral("document.body.innerText"))
                .toString()
                .contains(QLatin1String(news));
        },
        30000))
        << qPrintable(browser->url().toString());
    EXPECT_EQ(browser->url().path(), QStringLiteral("/members/ann.html"));
    const auto controls = ControlsOf<PreviewPageForm>(preview);
    ASSERT_TRUE(controls.backButton->isVisible());
    Click(controls.backButton);
    // Wrong passwords count as tries; the fifth ends at the fail URL, in the box's own window.
    for (int attempt = 0; attempt < 5; ++attempt)
        LogIn(*browser, QStringLiteral("ann"), QStringLiteral("wrong"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return statusBar.contains("Fail URL: goodbye.html in _self"); }, 30000))
        << qPrintable(statusBar.join(QLatin1Char('|')));
    // Each wrong try said so in its turn, the last before the fail URL.
    const QStringList tries = statusBar.filter(QStringLiteral("Incorrect: try "));
    EXPECT_EQ(tries,
        (QStringList { "Incorrect: try 1 of 5", "Incorrect: try 2 of 5", "Incorrect: try 3 of 5",
            "Incorrect: try 4 of 5", "Incorrect: try 5 of 5" }));
    EXPECT_GT(statusBar.indexOf("Fail URL: goodbye.html in _self"),
        statusBar.indexOf("Incorrect: try 5 of 5"));
    // The box stayed on the preview page, which came from the preview server.
    EXPECT_EQ(browser->url().path(), QStringLiteral("/~Zarnith.html"));
    EXPECT_EQ(browser->url().host(), QStringLiteral("127.0.0.1"));

    // Without the server the page comes from its file, and its box still loads the locks of the
    // latest refresh from the script beside it.
    const QString serverPlugin = PreviewServerPluginName();
    StopPreviewServer();
    SetPreviewServerPluginName(QStringLiteral("zarnith_no_such_plugin"));
    const QString opened = QStringLiteral("Lock for ann: members/ann.html in _top");
    for (const QString& password : { QStringLiteral("rose"), QStringLiteral("lily") }) {
        for (LockEntry& lock : doc.locks) {
            if (lock.userId == "ann")
                lock.password = password.toUtf8();
        }
        doc.LocksChanged();
        const qsizetype before = statusBar.count(opened);
        const qsizetype loads = statusBar.count(QStringLiteral("Done"));
        preview.RefreshPreviewPage();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return statusBar.count(QStringLiteral("Done")) > loads; }, 30000));
        LogIn(*browser, QStringLiteral("ann"), password);
        EXPECT_TRUE(QTest::qWaitFor([&] { return statusBar.count(opened) > before; }, 30000))
            << qPrintable(statusBar.join(QLatin1Char('|')));
        EXPECT_EQ(browser->url().scheme(), QStringLiteral("file"));
    }
    SetPreviewServerPluginName(serverPlugin);
    StopPreviewServer();
    DeletePreviewFiles(PreviewDirectory());
    EXPECT_FALSE(QFileInfo::exists(written));
}

} // namespace
