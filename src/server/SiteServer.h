#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

// A web server for one folder on the loopback address, as the program sees it. The program never
// links the server itself: it comes from the preview server plugin (server/plugin), loaded at the
// first preview, so that a run that previews nothing loads neither Qt Network nor Qt HTTP Server.
class SiteServer
{
public:
    virtual ~SiteServer() = default;

    // Listens on 127.0.0.1 at a port the system chooses; true when it does (also when it already
    // did).
    virtual bool Start() = 0;
    // The address of a file given by its path relative to the folder ('/' between folders), with
    // its query and fragment when it has them; empty while not listening.
    virtual QUrl UrlFor(const QString& relativePath) const = 0;
};

// What the preview server plugin exports.
class SiteServerFactory
{
public:
    virtual ~SiteServerFactory() = default;

    // A server for folder, not yet listening.
    virtual std::unique_ptr<SiteServer> ServeFolder(const QString& folder) = 0;
};

#define ZARNITH_SITE_SERVER_FACTORY_IID "com.velto.Zarnith.SiteServerFactory/1.0"
Q_DECLARE_INTERFACE(SiteServerFactory, ZARNITH_SITE_SERVER_FACTORY_IID)
