#pragma once

#include "server/SiteServer.h"

#include <QObject>

// Makes the folder servers of server/FolderServer for the program.
class FolderServerPlugin : public QObject, public SiteServerFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZARNITH_SITE_SERVER_FACTORY_IID)
    Q_INTERFACES(SiteServerFactory)

public:
    std::unique_ptr<SiteServer> ServeFolder(const QString& folder) override;
};
