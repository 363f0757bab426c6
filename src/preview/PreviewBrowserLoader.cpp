#include "preview/PreviewBrowserLoader.h"

#include "framework/ProgramPlugin.h"

#include <QCoreApplication>
#include <QOpenGLContext>

#include <utility>

// QtGui's hooks for the context every window shares, declared as Qt WebEngine declares them.
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace {

// Qt WebEngine draws through a graphics context shared with every window made after it. Qt would
// make that context with the application object, loading the system's OpenGL drivers before the
// first window shows; it is made here instead, as Qt makes it, before the engine's plugin loads.
void ShareGraphicsContexts()
{
    if (qt_gl_global_share_context())
        return;
    auto* context = new QOpenGLContext;
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
    // Qt warns that the attribute comes late, which matters only for contexts made before it;
    // the program has none.
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qInstallMessageHandler(previous);
    // Gone before the windowing system, as Qt disposes of its own.
    qAddPostRoutine([] {
        delete qt_gl_global_share_context();
        qt_gl_set_global_share_context(nullptr);
    });
}

ProgramPlugin& Plugin()
{
    static ProgramPlugin plugin(QStringLiteral("zarnith_webpreview"));
    return plugin;
}

PreviewBrowserFactory* g_factory = nullptr;

} // namespace

QString PreviewPluginName()
{
    return Plugin().Name();
}

void SetPreviewPluginName(const QString& name)
{
    Plugin().SetName(name);
}

PreviewBrowserFactory* SetPreviewBrowserFactory(PreviewBrowserFactory* factory)
{
    return std::exchange(g_factory, factory);
}

std::unique_ptr<PreviewBrowser> CreatePreviewBrowser(QWidget* parent)
{
    if (!g_factory)
        ShareGraphicsContexts();
    PreviewBrowserFactory* factory
        = g_factory ? g_factory : qobject_cast<PreviewBrowserFactory*>(Plugin().Instance());
    if (!factory)
        return nullptr;
    return factory->CreateBrowser(parent);
}
