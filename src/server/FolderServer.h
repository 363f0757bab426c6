#pragma once

#include "server/SiteServer.h"

#include <QString>
#include <QUrl>

#include <memory>

class QAbstractHttpServer;

// Serves the files of one folder over HTTP on the loopback address, as a web server serves a
// published site, so that a page opened through it behaves as on the real server (its origin
// keeps storage, it fetches its lock data). Only GET and HEAD; only files inside the folder (no
// "..", no link that leads out, no listings: a folder gives its index.html); only to this
// machine, by its loopback name.
class FolderServer : public SiteServer
{
public:
    explicit FolderServer(const QString& folder);
    ~FolderServer() override;
    FolderServer(const FolderServer&) = delete;
    FolderServer& operator=(const FolderServer&) = delete;

    bool Start() override;
    // Closes the port; requests under way are dropped.
    void Stop();
    bool IsListening() const { return m_port != 0; }
    // The port, 0 while not listening.
    quint16 Port() const { return m_port; }
    QString Folder() const { return m_folder; }

    QUrl UrlFor(const QString& relativePath) const override;

private:
    QString m_folder;
    std::unique_ptr<QAbstractHttpServer> m_server;
    quint16 m_port = 0;
};

// The media type a server sends for a file name, by its extension.
QByteArray ContentTypeFor(const QString& fileName);
