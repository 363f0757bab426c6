#include "publish/PreviewServer.h"

#include "server/FolderServer.h"
#include "util/PreviewDirectory.h"

#include <QCoreApplication>
#include <QFile>

#include <memory>

namespace {

std::unique_ptr<FolderServer>& Server()
{
    static std::unique_ptr<FolderServer> server;
    return server;
}

} // namespace

QUrl PreviewAddress(const QString& relativePath)
{
    const QByteArray folder = PreviewDirectory();
    if (folder.isEmpty())
        return {};
    std::unique_ptr<FolderServer>& server = Server();
    const QString path = QFile::decodeName(folder);
    if (!server || server->Folder() != path) {
        server = std::make_unique<FolderServer>(path);
        // Its sockets must close while the application object still lives.
        static const bool stopAtExit = (qAddPostRoutine(StopPreviewServer), true);
        Q_UNUSED(stopAtExit);
    }
    if (!server->Start())
        return QUrl::fromLocalFile(path + relativePath.section(QLatin1Char('?'), 0, 0));
    return server->UrlFor(relativePath);
}

void StopPreviewServer()
{
    Server().reset();
}
