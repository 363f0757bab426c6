#include "preview/PreviewBrowserLoader.h"

#include "framework/ProgramPlugin.h"

#include <utility>

namespace {

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
    PreviewBrowserFactory* factory
        = g_factory ? g_factory : qobject_cast<PreviewBrowserFactory*>(Plugin().Instance());
    if (!factory)
        return nullptr;
    return factory->CreateBrowser(parent);
}
