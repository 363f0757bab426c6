#include "preview/ViewPreview.h"

#include "generate/HtmlPage.h"
#include "OutputsTestSupport.h"
#include "preview/PreviewBrowserLoader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QtCore/qtestsupport_core.h>

namespace {

// A browser without a web engine: a plain child window that remembers where it was sent.
class FakeBrowser : public PreviewBrowser
{
public:
    FakeBrowser(QWidget* parent, QStringList& navigations, StatusHandler& status)
        : m_widget(new QWidget(parent))
        , m_navigations(navigations)
        , m_status(status)
    {
    }

    QWidget* Widget() const override { return m_widget; }
    void Navigate(const QString& path) override { m_navigations.append(path); }
    void SetStatusHandler(StatusHandler handler) override { m_status = std::move(handler); }

private:
    QWidget* m_widget;
    QStringList& m_navigations;
    StatusHandler& m_status;
};

class FakeFactory : public PreviewBrowserFactory
{
public:
    std::unique_ptr<PreviewBrowser> CreateBrowser(QWidget* parent) override
    {
        ++created;
        if (!available)
            return nullptr;
        return std::make_unique<FakeBrowser>(parent, navigations, status);
    }

    bool available = true;
    int created = 0;
    QStringList navigations;
    PreviewBrowser::StatusHandler status;
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

    bool FallbackShown() const { return m_view.Control(1804)->isVisibleTo(&m_view); }
    bool ButtonsEnabled() const
    {
        return m_view.Control(1801)->isEnabled() && m_view.Control(1803)->isEnabled();
    }
    QWidget* BrowserWidget() const
    {
        for (QWidget* child :
            m_view.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->objectName().isEmpty())
                return child;
        }
        return nullptr;
    }

    FakeFactory m_factory;
    ViewPreview m_view { m_doc };
    const QString m_pluginName = PreviewPluginName();
};

TEST_F(ViewPreviewTest, BrowserTakesThePlaceOfTheFallbackAndStartsOnTheBlankPage)
{
    m_view.OnInitialUpdate();

    EXPECT_EQ(m_factory.created, 1);
    EXPECT_FALSE(FallbackShown());
    EXPECT_TRUE(ButtonsEnabled());
    ASSERT_NE(BrowserWidget(), nullptr);
    EXPECT_EQ(BrowserWidget()->geometry(), m_view.Control(1804)->geometry());
    const QString blank = PreviewPath("blank.html");
    EXPECT_EQ(ReadBytes(blank), QByteArray("<HTML>\n<HEAD>\n</HEAD>\n</HTML>"));
    EXPECT_EQ(QFileInfo(blank).size(), 29);
    EXPECT_EQ(m_factory.navigations, QStringList { blank });

    // New and Open bring the blank page back with the same browser.
    m_view.OnInitialUpdate();
    EXPECT_EQ(m_factory.created, 1);
    EXPECT_EQ(m_factory.navigations, (QStringList { blank, blank }));
}

TEST_F(ViewPreviewTest, BlankPageAlreadyThereIsShownUnchanged)
{
    ASSERT_TRUE(WriteBytes(PreviewPath("blank.html"), "<P>left from before</P>"));

    m_view.OnInitialUpdate();

    EXPECT_EQ(ReadBytes(PreviewPath("blank.html")), "<P>left from before</P>");
    EXPECT_EQ(m_factory.navigations, QStringList { PreviewPath("blank.html") });
}

TEST_F(ViewPreviewTest, RefreshRewritesThePageEachTimeAndBlankReturnsToTheEmptyPage)
{
    m_doc.correctAudio = MakeFile(QStringLiteral("yes.au"));
    m_view.OnInitialUpdate();
    const QString page = PreviewPath("~Zarnith.html");

    m_view.Control<QPushButton>(1801)->click();
    EXPECT_EQ(ReadBytes(page), BuildHtmlPage(m_doc, HtmlPageForm::Preview));
    EXPECT_TRUE(QFile::exists(PreviewPath("yes.au")));

    m_doc.width = 250;
    m_view.RefreshPreviewPage();
    EXPECT_EQ(ReadBytes(page), BuildHtmlPage(m_doc, HtmlPageForm::Preview));

    m_view.Control<QPushButton>(1803)->click();
    EXPECT_EQ(m_factory.navigations,
        (QStringList { PreviewPath("blank.html"), page, page, PreviewPath("blank.html") }));
}

TEST_F(ViewPreviewTest, BrowserStatusTextsGoToTheStatusBar)
{
    QStringList shown;
    CurrentAppState().statusTextSink = [&shown](const QString& text) { shown.append(text); };
    m_view.OnInitialUpdate();
    ASSERT_TRUE(m_factory.status);

    m_factory.status(QStringLiteral("http://example.com/next.html"));

    EXPECT_EQ(shown, QStringList { QStringLiteral("http://example.com/next.html") });
}

TEST_F(ViewPreviewTest, FailedCreationIsTriedAgainAtTheNextInitialUpdate)
{
    m_factory.available = false;
    m_view.OnInitialUpdate();
    EXPECT_TRUE(FallbackShown());
    EXPECT_FALSE(ButtonsEnabled());

    m_factory.available = true;
    m_view.OnInitialUpdate();
    EXPECT_EQ(m_factory.created, 2);
    EXPECT_FALSE(FallbackShown());
    EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(ViewPreviewTest, WithoutThePluginTheFallbackShowsAndNothingIsWritten)
{
    SetPreviewBrowserFactory(nullptr);
    SetPreviewPluginName(QStringLiteral("zarnith_no_such_plugin"));

    m_view.OnInitialUpdate();
    m_view.RefreshPreviewPage();

    EXPECT_TRUE(FallbackShown());
    EXPECT_TRUE(m_view.Control<QLabel>(1804)->text().startsWith(
        QLatin1String("There is currently no Preview available")));
    EXPECT_FALSE(m_view.Control(1801)->isEnabled());
    EXPECT_FALSE(m_view.Control(1803)->isEnabled());
    EXPECT_EQ(BrowserWidget(), nullptr);
    EXPECT_TRUE(QDir(QFile::decodeName(m_preview)).entryList(QDir::Files).isEmpty());
}

TEST_F(ViewPreviewTest, WebEnginePluginLoadsThePreviewPage)
{
    SetPreviewBrowserFactory(nullptr);
    // The plugin lies beside the real program, one folder above the tests.
    QCoreApplication::addLibraryPath(QStringLiteral(ZARNITH_BUILD_DIR));
    if (QDir(QStringLiteral(ZARNITH_BUILD_DIR))
            .entryList({ QStringLiteral("*zarnith_webpreview*") })
            .isEmpty())
        GTEST_SKIP() << "the WebEngine plugin was not built (Qt WebEngine not found)";
    QStringList status;
    CurrentAppState().statusTextSink = [&status](const QString& text) { status.append(text); };

    m_view.show();
    m_view.OnInitialUpdate();
    ASSERT_FALSE(FallbackShown()) << "the plugin was built but could not be loaded";
    QWidget* browser = BrowserWidget();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->inherits("QWebEngineView"));
    m_view.RefreshPreviewPage();

    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return browser->property("title").toString() == QLatin1String("Zarnith Preview"); },
        90000))
        << "title seen: " << browser->property("title").toString().toStdString();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !status.isEmpty() && status.back() == "Done"; }, 10000));
    EXPECT_TRUE(status.contains(QStringLiteral("Loading...")));
}

} // namespace
