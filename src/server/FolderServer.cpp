#include "server/FolderServer.h"

#include "util/AddressVersion.h"

#include <QAbstractHttpServer>
#include <QFile>
#include <QFileInfo>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpServer>

#include <algorithm>

namespace {

using Status = QHttpServerResponder::StatusCode;

// Where a request's path leads: the file in the folder (Ok), the path to ask for instead
// (MovedPermanently), or nowhere (NotFound).
struct Resolved
{
    Status status = Status::Ok;
    QString path;
};

// Only names a web server would serve: no empty, "." or ".." step, no NUL. Checked on the
// decoded path, so "%2e%2e" and "%2f" change nothing.
bool IsPlainPath(const QString& decodedPath)
{
    if (!decodedPath.startsWith(QLatin1Char('/')) || decodedPath.contains(QChar(0)))
        return false;
    const QStringList steps = decodedPath.mid(1).split(QLatin1Char('/'));
    for (int i = 0; i < steps.size(); ++i) {
        const QString& step = steps[i];
        // The last step may be empty: "/members/" is that folder's index.
        if ((step.isEmpty() && i + 1 < steps.size()) || step == QLatin1String(".")
            || step == QLatin1String(".."))
            return false;
    }
    return true;
}

Resolved Resolve(const QString& canonicalRoot, const QString& decodedPath)
{
    if (!IsPlainPath(decodedPath))
        return { Status::NotFound, {} };
    QString path = canonicalRoot + decodedPath;
    if (QFileInfo(path).isDir()) {
        // As a web server does, so that the index's relative links lead into the folder.
        if (!decodedPath.endsWith(QLatin1Char('/')))
            return { Status::MovedPermanently, decodedPath + QLatin1Char('/') };
        path += QStringLiteral("index.html");
    }
    // The real place, links followed: it must still lie in the folder and be a plain file.
    const QFileInfo file(path);
    const QString real = file.canonicalFilePath();
    if (real.isEmpty() || !real.startsWith(canonicalRoot + QLatin1Char('/')))
        return { Status::NotFound, {} };
    if (!QFileInfo(real).isFile())
        return { Status::NotFound, {} };
    return { Status::Ok, real };
}

// A browser on this machine asks for the server by its loopback name; any other name is a page
// elsewhere that had its own name resolved to this machine, and gets nothing.
bool IsLoopbackHost(const QByteArray& host, quint16 port)
{
    const QByteArray portPart = ':' + QByteArray::number(port);
    return host == "127.0.0.1" + portPart || host == "localhost" + portPart;
}

QByteArray HeaderValue(const QHttpServerRequest& request, const QByteArray& name)
{
    for (const auto& [key, value] : request.headers()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value.trimmed();
    }
    return {};
}

// Every preview rewrites the files: a browser must not keep an older one. A versioned address
// ("?v=" and kAddressVersionDigits hexadecimal digits, as the protected pages name their shared
// script and their content files) changes with its file, so that the browser keeps it, as it would
// from any server, and the next page need not wait for it. A site's own short versions ("?v=2") are
// not trusted: a webmaster may change the file without changing them.
QByteArray CacheControlFor(const QUrl& url)
{
    const QString query = url.query();
    const auto hexDigit = [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    };
    const bool versioned = query.size() == 2 + kAddressVersionDigits
        && query.startsWith(QLatin1String("v="))
        && std::all_of(query.begin() + 2, query.end(), hexDigit);
    return versioned ? "max-age=31536000, immutable" : "no-store";
}

class FolderHttpServer : public QAbstractHttpServer
{
public:
    explicit FolderHttpServer(const QString& canonicalRoot)
        : m_root(canonicalRoot)
    {
    }

    quint16 port = 0;

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        // A response leaves in several writes (status line, headers, body): held back until the
        // browser acknowledges the first, the last part of a small file waited for the browser's
        // delayed acknowledgement, some 40 ms per file.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QHttpServerResponder responder = makeResponder(request, socket);
        const QHttpServerRequest::Method method = request.method();
        if (method != QHttpServerRequest::Method::Get
            && method != QHttpServerRequest::Method::Head) {
            responder.write({ { "Allow", "GET, HEAD" } }, Status::MethodNotAllowed);
            return true;
        }
        if (!request.remoteAddress().isLoopback()
            || !IsLoopbackHost(HeaderValue(request, "Host"), port)) {
            responder.write(Status::Forbidden);
            return true;
        }
        const Resolved resolved = Resolve(m_root, request.url().path());
        if (resolved.status == Status::MovedPermanently) {
            QUrl location;
            location.setPath(resolved.path);
            responder.write({ { "Location", location.toEncoded() } }, resolved.status);
            return true;
        }
        QFile file(resolved.path);
        if (resolved.status != Status::Ok || !file.open(QIODevice::ReadOnly)) {
            responder.write(Status::NotFound);
            return true;
        }
        const QByteArray type = ContentTypeFor(resolved.path);
        const QByteArray cacheControl = CacheControlFor(request.url());
        if (method == QHttpServerRequest::Method::Head) {
            responder.writeStatusLine(Status::Ok);
            responder.writeHeaders(
                { { "Content-Type", type }, { "Content-Length", QByteArray::number(file.size()) },
                    { "Cache-Control", cacheControl }, { "X-Content-Type-Options", "nosniff" } });
            responder.writeBody(QByteArray());
            return true;
        }
        responder.write(file.readAll(),
            { { "Content-Type", type }, { "Cache-Control", cacheControl },
                { "X-Content-Type-Options", "nosniff" } });
        return true;
    }

    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        makeResponder(request, socket).write(Status::NotFound);
    }

private:
    QString m_root;
};

} // namespace

FolderServer::FolderServer(const QString& folder)
    : m_folder(folder)
{
}

FolderServer::~FolderServer() = default;

bool FolderServer::Start()
{
    if (IsListening())
        return true;
    const QString root = QFileInfo(m_folder).canonicalFilePath();
    if (root.isEmpty() || !QFileInfo(root).isDir())
        return false;
    auto server = std::make_unique<FolderHttpServer>(root);
    server->port = server->listen(QHostAddress::LocalHost, 0);
    if (server->port == 0)
        return false;
    m_port = server->port;
    m_server = std::move(server);
    return true;
}

void FolderServer::Stop()
{
    m_server.reset();
    m_port = 0;
}

QUrl FolderServer::UrlFor(const QString& relativePath) const
{
    if (!IsListening())
        return {};
    QUrl base;
    base.setScheme(QStringLiteral("http"));
    base.setHost(QStringLiteral("127.0.0.1"));
    base.setPort(m_port);
    base.setPath(QStringLiteral("/"));
    // "./" keeps a first step with a colon from being read as a scheme.
    return base.resolved(QUrl(QStringLiteral("./") + relativePath));
}

QByteArray ContentTypeFor(const QString& fileName)
{
    static const QHash<QString, QByteArray> types {
        { QStringLiteral("html"), "text/html" },
        { QStringLiteral("htm"), "text/html" },
        { QStringLiteral("css"), "text/css" },
        { QStringLiteral("js"), "text/javascript" },
        { QStringLiteral("mjs"), "text/javascript" },
        { QStringLiteral("json"), "application/json" },
        { QStringLiteral("txt"), "text/plain" },
        { QStringLiteral("dat"), "text/plain" },
        { QStringLiteral("xml"), "application/xml" },
        { QStringLiteral("png"), "image/png" },
        { QStringLiteral("jpg"), "image/jpeg" },
        { QStringLiteral("jpeg"), "image/jpeg" },
        { QStringLiteral("gif"), "image/gif" },
        { QStringLiteral("svg"), "image/svg+xml" },
        { QStringLiteral("webp"), "image/webp" },
        { QStringLiteral("ico"), "image/vnd.microsoft.icon" },
        { QStringLiteral("wav"), "audio/wav" },
        { QStringLiteral("au"), "audio/basic" },
        { QStringLiteral("mp3"), "audio/mpeg" },
        { QStringLiteral("ogg"), "audio/ogg" },
        { QStringLiteral("mp4"), "video/mp4" },
        { QStringLiteral("webm"), "video/webm" },
        { QStringLiteral("pdf"), "application/pdf" },
        { QStringLiteral("zip"), "application/zip" },
        { QStringLiteral("woff"), "font/woff" },
        { QStringLiteral("woff2"), "font/woff2" },
        { QStringLiteral("class"), "application/java-vm" },
    };
    return types.value(QFileInfo(fileName).suffix().toLower(), "application/octet-stream");
}
