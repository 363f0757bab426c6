#include "WebPreviewPlugin.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QOpenGLContext>
#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Qt WebEngine needs a context shared with every window, which the program makes before it loads
// this plugin. Without it the engine would crash, so the preview falls back to its explanatory
// text.
bool HasSharedContext()
{
    return QOpenGLContext::globalShareContext() != nullptr;
}

// Chromium refuses to start its sandbox as root; the page is the user's own local file.
void AllowRunningAsRoot()
{
#ifdef Q_OS_UNIX
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
}

// The login box asks window.zarnithNavigate, where there is one, to open the page a login leads
// to, and tells window.zarnithIncorrect of a wrong try. Here both hand what they get to the
// program as console messages with marks of their own, so that the visitor stays on the preview
// while the program says where the box would have gone.
const char kNavigationMark[] = "zarnith-navigate:";
const char kIncorrectMark[] = "zarnith-incorrect:";
const char kNavigationHook[] = R"(
window.zarnithNavigate = function (request) {
    console.info('zarnith-navigate:' + JSON.stringify({ user: String(request.user || ''),
        url: String(request.url || ''), target: String(request.target || '') }));
};
window.zarnithIncorrect = function (attempt) {
    console.info('zarnith-incorrect:' + JSON.stringify({ tryNumber: Number(attempt.tryNumber),
        tries: Number(attempt.tries) }));
};
)";

// The object after mark in message; nothing when the message does not start with it.
std::optional<QJsonObject> MarkedObject(const QString& message, const char* mark)
{
    if (!message.startsWith(QLatin1String(mark)))
        return std::nullopt;
    return QJsonDocument::fromJson(message.mid(int(qstrlen(mark))).toUtf8()).object();
}

QWebEngineScript NavigationHookScript()
{
    QWebEngineScript script;
    script.setName(QStringLiteral("zarnith-navigation-hook"));
    script.setSourceCode(QString::fromUtf8(kNavigationHook));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    return script;
}

// A page that passes the login box's navigation requests on instead of logging them.
class PreviewPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

    PreviewBrowser::NavigationHandler navigationHandler;
    PreviewBrowser::IncorrectTryHandler incorrectTryHandler;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
        int line, const QString& source) override
    {
        if (const std::optional<QJsonObject> request = MarkedObject(message, kNavigationMark)) {
            if (navigationHandler)
                navigationHandler({ request->value(QLatin1String("user")).toString(),
                    request->value(QLatin1String("url")).toString(),
                    request->value(QLatin1String("target")).toString() });
        } else if (const std::optional<QJsonObject> attempt
            = MarkedObject(message, kIncorrectMark)) {
            if (incorrectTryHandler)
                incorrectTryHandler({ attempt->value(QLatin1String("tryNumber")).toInt(),
                    attempt->value(QLatin1String("tries")).toInt() });
        } else {
            QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
        }
    }
};

// A web view that tells its status texts as a browser's status bar would: the link under the
// mouse while there is one, else the state of the last load.
class WebPreviewBrowser : public PreviewBrowser
{
public:
    explicit WebPreviewBrowser(QWidget* parent)
        : m_view(new QWebEngineView(parent))
        , m_page(new PreviewPage(m_view))
    {
        m_view->setPage(m_page);
        PreviewPage* page = m_page.data();
        page->scripts().insert(NavigationHookScript());
        QObject::connect(page, &QWebEnginePage::linkHovered, m_view,
            [this](const QString& url) { Tell(url.isEmpty() ? m_loadState : url); });
        QObject::connect(page, &QWebEnginePage::loadStarted, m_view,
            [this] { SetLoadState(QStringLiteral("Loading...")); });
        QObject::connect(page, &QWebEnginePage::loadProgress, m_view, [this](int percent) {
            if (percent < 100)
                SetLoadState(QStringLiteral("Loading... %1%").arg(percent));
        });
        QObject::connect(page, &QWebEnginePage::loadFinished, m_view,
            [this](bool) { SetLoadState(QStringLiteral("Done")); });
    }

    ~WebPreviewBrowser() override { delete m_view; }

    QWidget* Widget() const override { return m_view; }

    void Navigate(const QUrl& url) override { m_view->load(url); }

    void SetStatusHandler(StatusHandler handler) override { m_statusHandler = std::move(handler); }

    void SetNavigationHandler(NavigationHandler handler) override
    {
        if (m_page)
            m_page->navigationHandler = std::move(handler);
    }

    void SetIncorrectTryHandler(IncorrectTryHandler handler) override
    {
        if (m_page)
            m_page->incorrectTryHandler = std::move(handler);
    }

private:
    void SetLoadState(const QString& text)
    {
        m_loadState = text;
        Tell(text);
    }

    void Tell(const QString& text) const
    {
        if (m_statusHandler)
            m_statusHandler(text);
    }

    // Guarded: the parent may already have destroyed the view with its other children.
    QPointer<QWebEngineView> m_view;
    QPointer<PreviewPage> m_page;
    StatusHandler m_statusHandler;
    QString m_loadState;
};

} // namespace

std::unique_ptr<PreviewBrowser> WebPreviewPlugin::CreateBrowser(QWidget* parent)
{
    if (!HasSharedContext())
        return nullptr;
    AllowRunningAsRoot();
    return std::make_unique<WebPreviewBrowser>(parent);
}
