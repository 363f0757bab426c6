#include "preview/ViewPreview.h"

#include "generate/HtmlPage.h"
#include "preview/PreviewBrowserLoader.h"
#include "publish/PreviewServer.h"
#include "support/OutputsTestSupport.h"
#include "support/TestForms.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QtCore/qtestsupport_core.h>

namespace {

// Browsers without a web engine: plain child windows whose navigations are written down.
class FakeFactory : public PreviewBrowserFactory
{
public:
    class Browser : public PreviewBrowser
    {
    public:
        Browser(QWidget* parent, FakeFactory& factory)
            : m_widget(new QWidget(parent))
            , m_factory(factory)
        {
        }
        QWidget* Widget() const override { return m_widget; }
        void Navigate(const QUrl& url) override { m_factory.navigations.append(url); }
        void SetStatusHandler(StatusHandler handler) override { m_factory.status = handler; }
        void SetNavigationHandler(NavigationHandler handler) override
        {
            m_factory.navigation = handler;
        }
        void SetIncorrectTryHandler(IncorrectTryHandler handler) override
        {
            m_factory.incorrectTry = handler;
        }

    private:
        QWidget* m_widget;
        FakeFactory& m_factory;
    };

    std::unique_ptr<PreviewBrowser> CreateBrowser(QWidget* parent) override
    {
        ++created;
        return available ? std::make_unique<Browser>(parent, *this) : nullptr;
    }

    bool available = true;
    int created = 0;
    QList<QUrl> navigations;
    PreviewBrowser::StatusHandler status;
    PreviewBrowser::NavigationHandler navigation;
    PreviewBrowser::IncorrectTryHandler incorrectTry;
};

class ViewPreviewTest : public OutputsTest
{
protected:
    void SetUp() override
    {
        OutputsTest::SetUp();
        SetPreviewBrowserFactory(&m_factory);
    }

    void TearDown() override
    {
        SetPreviewBrowserFactory(nullptr);
        SetPreviewPluginName(m_pluginName);
        OutputsTest::TearDown();
    }

    bool FallbackShown() const { return m_ui.browserPlace->isVisibleTo(&m_view); }
    bool ButtonsEnabled() const
    {
        return m_ui.refreshButton->isEnabled() && m_ui.blankButton->isEnabled();
    }
    // The one child that is not a control of the page's template.
    QWidget* Browser() const
    {
        const auto children = m_view.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            if (child->objectName().isEmpty())
                return child;
        }
        return nullptr;
    }

    FakeFactory m_factory;
    ViewPreview m_view { m_doc, m_project };
    const PreviewPageForm m_ui = ControlsOf<PreviewPageForm>(m_view);
    const QString m_pluginName = PreviewPluginName();
};

TEST_F(ViewPreviewTest, BrowserTakesThePlaceOfTheFallbackAndStartsOnTheBlankPage)
{
    QStringList statusBar;
    const QObject listener;
    QObject::connect(&m_view, &ViewPreview::statusTextChanged, &listener,
        [&](const QString& text) { statusBar.append(text); });
    // Start-up does not pay for the web engine: the browser comes when the page is first shown.
    m_view.OnInitialUpdate();
    EXPECT_EQ(m_factory.created, 0);
    m_view.show();
    EXPECT_EQ(m_factory.created, 1);

    EXPECT_FALSE(FallbackShown());
    EXPECT_TRUE(ButtonsEnabled());
    ASSERT_NE(Browser(), nullptr);
    EXPECT_EQ(Browser()->geometry(), m_ui.browserPlace->geometry());
    const QString blank = PreviewPath("blank.html");
    EXPECT_EQ(ReadBytes(blank), QByteArray("<HTML>\n<HEAD>\n</HEAD>\n</HTML>", 29));
    ASSERT_TRUE(m_factory.status);
    m_factory.status(QStringLiteral("http://example.com/next.html"));
    EXPECT_EQ(statusBar, QStringList { "http://example.com/next.html" });

    // New and Open show the blank page again in the same browser; one already there stays.
    ASSERT_TRUE(WriteBytes(blank, "<P>left from before</P>"));
    m_view.OnInitialUpdate();
    EXPECT_EQ(m_factory.created, 1);
    EXPECT_EQ(ReadBytes(blank), "<P>left from before</P>");
    // Pages come from the preview server, as from a site.
    const QUrl blankAddress = PreviewAddress(QStringLiteral("blank.html"));
    EXPECT_EQ(blankAddress.host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(m_factory.navigations, (QList<QUrl> { blankAddress, blankAddress }));

    // A wrong try replaces the line of an earlier login.
    ASSERT_TRUE(m_factory.navigation && m_factory.incorrectTry);
    m_factory.navigation({ QStringLiteral("ann"), QStringLiteral("a.html"), QString() });
    m_factory.incorrectTry({ 2, 5 });
    EXPECT_EQ(statusBar.mid(1),
        (QStringList { "Lock for ann: a.html in _self", "Incorrect: try 2 of 5" }));
}

TEST_F(ViewPreviewTest, RefreshRewritesThePageEachTimeAndBlankReturnsToTheEmptyPage)
{
    // The page carries the applet and the modern box in it, with the files of both.
    m_doc.correctAudio = MakeSunAudio(QStringLiteral("yes.au"));
    m_view.OnInitialUpdate();
    const QString page = PreviewPath("~Zarnith.html");

    m_ui.refreshButton->click();
    EXPECT_TRUE(ReadBytes(page).startsWith("<HTML>\r\n<TITLE>"));
    EXPECT_TRUE(ReadBytes(page).contains("<APPLET CODE=Zarnith.class "));
    EXPECT_TRUE(ReadBytes(page).contains("class=\"zarnith-box\""));
    EXPECT_TRUE(QFile::exists(PreviewPath("yes.au")));
    EXPECT_TRUE(ReadBytes(PreviewPath("yes.wav")).startsWith("RIFF"));
    m_doc.width = 300;
    m_view.RefreshPreviewPage();
    EXPECT_TRUE(ReadBytes(page).contains("<APPLET CODE=Zarnith.class WIDTH=300 "));
    EXPECT_TRUE(ReadBytes(page).contains("class=\"zarnith-box\" style=\"width:300px"));
    m_ui.blankButton->click();

    const QUrl blank = PreviewAddress(QStringLiteral("blank.html"));
    const QUrl pageAddress = PreviewAddress(QStringLiteral("~Zarnith.html"));
    EXPECT_EQ(m_factory.navigations, (QList<QUrl> { blank, pageAddress, pageAddress, blank }));
}

TEST_F(ViewPreviewTest, ALoginToAPageOfTheSiteFolderShowsItThereWithTheWayBackToTheBox)
{
    QStringList statusBar;
    const QObject listener;
    QObject::connect(&m_view, &ViewPreview::statusTextChanged, &listener,
        [&](const QString& text) { statusBar.append(text); });
    ASSERT_TRUE(QDir().mkpath(Path("site/members")));
    ASSERT_TRUE(WriteBytes(Path("site/members/ann.html"), "<p>ann</p>"));
    ASSERT_TRUE(WriteBytes(Path("secret.txt"), "secret"));
    m_doc.siteFolder = Bytes("site");
    m_view.OnInitialUpdate();
    m_view.show();
    m_view.RefreshPreviewPage();
    const QUrl box = PreviewAddress(QStringLiteral("~Zarnith.html"));
    ASSERT_FALSE(m_factory.navigations.isEmpty());
    ASSERT_EQ(m_factory.navigations.back(), box);
    ASSERT_TRUE(m_factory.navigation);

    // Addresses that are no file of the site folder, and the fail URL, only say where they lead.
    for (const char* url : { "members/bob.html", "http://example.com/members/ann.html",
             "javascript:alert(1)", "members/%2e%2e/%2e%2e/secret.txt", "members" }) {
        m_factory.navigation({ QStringLiteral("ann"), QString::fromLatin1(url), QString() });
        EXPECT_EQ(m_factory.navigations.back(), box) << url;
        EXPECT_EQ(statusBar.back(), QStringLiteral("Lock for ann: %1 in _self").arg(url));
    }
    m_factory.navigation({ QString(), QStringLiteral("members/ann.html"), QString() });
    EXPECT_EQ(m_factory.navigations.back(), box);
    EXPECT_FALSE(m_ui.backButton->isVisibleTo(&m_view));

    m_factory.navigation(
        { QStringLiteral("ann"), QStringLiteral("members/ann.html"), QStringLiteral("_top") });
    EXPECT_EQ(m_factory.navigations.back(), PreviewAddress(QStringLiteral("members/ann.html")));
    EXPECT_EQ(statusBar.back(), QStringLiteral("Lock for ann: members/ann.html in _top"));
    EXPECT_TRUE(m_ui.backButton->isVisibleTo(&m_view));
    m_ui.backButton->click();
    EXPECT_EQ(m_factory.navigations.back(), box);
    EXPECT_FALSE(m_ui.backButton->isVisibleTo(&m_view));
}

TEST_F(ViewPreviewTest, WithoutABrowserTheFallbackShowsNothingIsWrittenAndLaterUpdatesRetry)
{
    SetPreviewBrowserFactory(nullptr);
    SetPreviewPluginName(QStringLiteral("zarnith_no_such_plugin"));
    m_view.show();
    m_view.OnInitialUpdate();
    m_view.RefreshPreviewPage();

    EXPECT_TRUE(FallbackShown());
    EXPECT_TRUE(m_ui.browserPlace->text().startsWith(
        QLatin1String("There is currently no Preview available")));
    EXPECT_FALSE(m_ui.refreshButton->isEnabled());
    EXPECT_FALSE(m_ui.blankButton->isEnabled());
    EXPECT_EQ(Browser(), nullptr);
    EXPECT_TRUE(QDir(QFile::decodeName(m_preview)).entryList(QDir::Files).isEmpty());

    SetPreviewBrowserFactory(&m_factory);
    m_factory.available = false;
    m_view.OnInitialUpdate();
    EXPECT_TRUE(FallbackShown());
    m_factory.available = true;
    m_view.OnInitialUpdate();
    EXPECT_EQ(m_factory.created, 2);
    EXPECT_FALSE(FallbackShown());
    EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(ViewPreviewTest, WebEnginePluginLoadsThePreviewPage)
{
    SetPreviewBrowserFactory(nullptr);
    // The plugin lies beside the real program, one folder above the test programs.
    QCoreApplication::addLibraryPath(QStringLiteral(ZARNITH_BUILD_DIR));
    if (QDir(QStringLiteral(ZARNITH_BUILD_DIR)).entryList({ "*zarnith_webpreview*" }).isEmpty())
        GTEST_SKIP() << "the WebEngine plugin was not built (Qt WebEngine not found)";
    QStringList statusBar;
    const QObject listener;
    QObject::connect(&m_view, &ViewPreview::statusTextChanged, &listener,
        [&](const QString& text) { statusBar.append(text); });

    m_view.show();
    m_view.OnInitialUpdate();
    ASSERT_FALSE(FallbackShown()) << "the plugin was built but could not be loaded";
    QWidget* browser = Browser();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->inherits("QWebEngineView"));
    m_view.RefreshPreviewPage();

    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return browser->property("title").toString() == "Zarnith Preview"; }, 90000))
        << "title seen: " << browser->property("title").toString().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return statusBar.endsWith("Done"); }, 10000));
    EXPECT_TRUE(statusBar.contains("Loading..."));
}

} // namespace
