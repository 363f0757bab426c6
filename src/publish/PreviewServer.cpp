#include "publish/PreviewServer.h"

#include "framework/ProgramPlugin.h"
#include "server/SiteServer.h"
#include "util/PreviewDirectory.h"

#include <QCoreApplication>
#include <QFile>

#include <memory>

namespace {

ProgramPlugin& Plugin()
{
    static ProgramPlugin plugin(QStringLiteral("zarnith_previewserver"));
    return plugin;
}

// The server of one folder; none when the plugin could not be loaded.
struct ServedFolder
{
    QString folder;
    std::unique_ptr<SiteServer> server;
};

ServedFolder& Served()
{
    static ServedFolder served;
    return served;
}

} // namespace

QUrl PreviewAddress(const QString& relativePath)
{
    const QByteArray folder = PreviewDirectory();
    if (folder.isEmpty())
        return {};
    ServedFolder& served = Served();
    const QString path = QFile::decodeName(folder);
    if (served.folder != path) {
        served.server.reset();
        served.folder = path;
        if (auto* factory = qobject_cast<SiteServerFactory*>(Plugin().Instance()))
            served.server = factory->ServeFolder(path);
        // Its sockets must close while the application object still lives.
        static const bool stopAtExit = (qAddPostRoutine(StopPreviewServer), true);
        Q_UNUSED(stopAtExit);
    }
    if (!served.server || !served.server->Start())
        return QUrl::fromLocalFile(path + relativePath.section(QLatin1Char('?'), 0, 0));
    return served.server->UrlFor(relativePath);
}

void StopPreviewServer()
{
    Served() = ServedFolder();
}

QString PreviewServerPluginName()
{
    return Plugin().Name();
}

void SetPreviewServerPluginName(const QString& name)
{
    Plugin().SetName(name);
}
