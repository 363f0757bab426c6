#include "server/plugin/FolderServerPlugin.h"

#include "server/FolderServer.h"

std::unique_ptr<SiteServer> FolderServerPlugin::ServeFolder(const QString& folder)
{
    return std::make_unique<FolderServer>(folder);
}
