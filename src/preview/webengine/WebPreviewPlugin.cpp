#include "WebPreviewPlugin.h"

#include <QOpenGLContext>
#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Qt WebEngine needs a context shared with every window, which exists only when the program set
// Qt::AA_ShareOpenGLContexts before making its application object. Without it the engine would
// crash, so the preview falls back to its explanatory text.
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

// The web engine runs no Java, so an applet would leave an empty gap in the preview. The gap gets
// an outline of the applet's size that says what belongs there; the page file stays as written.
const char kAppletOutline[] = R"(
for (const applet of document.querySelectorAll('applet')) {
    const outline = document.createElement('div');
    const width = applet.getAttribute('width') || '0';
    const height = applet.getAttribute('height') || '0';
    outline.style.cssText = 'display:inline-flex; align-items:center; justify-content:center;'
        + 'box-sizing:border-box; border:1px dashed #8a8a8a; background:#f6f6f6; color:#505050;'
        + 'font:12px sans-serif; text-align:center; padding:8px; vertical-align:top;'
        + 'width:' + width + 'px; height:' + height + 'px;';
    outline.textContent = 'Java applet ' + (applet.getAttribute('code') || '') + ' (' + width
        + ' x ' + height + '): shown by browsers that run Java applets';
    applet.replaceWith(outline);
}
)";

QWebEngineScript AppletOutlineScript()
{
    QWebEngineScript script;
    script.setName(QStringLiteral("zarnith-applet-outline"));
    script.setSourceCode(QString::fromUtf8(kAppletOutline));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    return script;
}

// A web view that tells its status texts as a browser's status bar would: the link under the
// mouse while there is one, else the state of the last load.
class WebPreviewBrowser : public PreviewBrowser
{
public:
    explicit WebPreviewBrowser(QWidget* parent)
        : m_view(new QWebEngineView(parent))
    {
        QWebEnginePage* page = m_view->page();
        page->scripts().insert(AppletOutlineScript());
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

    void Navigate(const QString& path) override { m_view->load(QUrl::fromLocalFile(path)); }

    void SetStatusHandler(StatusHandler handler) override { m_statusHandler = std::move(handler); }

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
