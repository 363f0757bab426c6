#include "preview/PreviewBrowserLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

namespace {

QString& PluginName()
{
    static QString name = QStringLiteral("zarnith_webpreview");
    return name;
}

PreviewBrowserFactory* g_factory = nullptr;

PreviewBrowserFactory* LoadFactory(const QString& fileName)
{
    // The loader keeps the library loaded for the rest of the run; browsers outlive it.
    QPluginLoader loader(fileName);
    return qobject_cast<PreviewBrowserFactory*>(loader.instance());
}

PreviewBrowserFactory* PluginFactory()
{
    const QString name = PluginName();
    if (QDir::isAbsolutePath(name))
        return LoadFactory(name);
    if (PreviewBrowserFactory* beside
        = LoadFactory(QDir(QCoreApplication::applicationDirPath()).filePath(name)))
        return beside;
    return LoadFactory(name);
}

} // namespace

QString PreviewPluginName()
{
    return PluginName();
}

void SetPreviewPluginName(const QString& name)
{
    PluginName() = name;
}

void SetPreviewBrowserFactory(PreviewBrowserFactory* factory)
{
    g_factory = factory;
}

std::unique_ptr<PreviewBrowser> CreatePreviewBrowser(QWidget* parent)
{
    PreviewBrowserFactory* factory = g_factory ? g_factory : PluginFactory();
    if (!factory)
        return nullptr;
    return factory->CreateBrowser(parent);
}
