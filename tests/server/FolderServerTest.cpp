// The previews' web server, spoken to over real sockets with hand-written requests, so that
// paths reach it exactly as a hostile page could send them.

#include "server/FolderServer.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Reply
{
    int status = 0;
    QByteArray head;
    QByteArray body;
    bool connected = false;

    QByteArray Header(const QByteArray& name) const
    {
        for (const QByteArray& line : head.split('\n')) {
            const int colon = line.indexOf(':');
            if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
                return line.mid(colon + 1).trimmed();
        }
        return {};
    }
};

// Sends request to address:port and reads the answer: the head, then as many bytes as its
// Content-Length says, or, for HEAD, whatever else comes within a moment (nothing should).
Reply Ask(
    quint16 port, const QByteArray& request, const QHostAddress& address = QHostAddress::LocalHost)
{
    Reply reply;
    QTcpSocket socket;
    QEventLoop loop;
    QByteArray received;
    const bool head = request.startsWith("HEAD ");
    auto complete = [&] {
        const int end = received.indexOf("\r\n\r\n");
        if (end < 0)
            return false;
        reply.head = received.left(end);
        reply.status = reply.head.mid(9, 3).toInt();
        reply.body = received.mid(end + 4);
        return !head && reply.body.size() >= reply.Header("Content-Length").toLongLong();
    };
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] {
        reply.connected = true;
        socket.write(request);
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        received += socket.readAll();
        if (complete())
            loop.quit();
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(head ? 500 : 5000, &loop, &QEventLoop::quit);
    socket.connectToHost(address, port);
    loop.exec();
    complete();
    return reply;
}

QByteArray Get(quint16 port, const QByteArray& path, const QByteArray& method = "GET")
{
    return method + ' ' + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port)
        + "\r\n\r\n";
}

class FolderServerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_outside.isValid() && m_site.isValid());
        ASSERT_TRUE(QDir(m_site.path()).mkpath(QStringLiteral("site/members")));
        Write(QStringLiteral("site/index.html"), "<p>home</p>");
        Write(QStringLiteral("site/members/index.html"), "<p>members</p>");
        Write(QStringLiteral("site/members/a b.css"), "p{}");
        Write(QStringLiteral("site/lock.json"), "{}");
        Write(QStringLiteral("site/speaker.wav"), "RIFF");
        Write(QStringLiteral("site/picture.PNG"), "png");
        Write(QStringLiteral("site/data.bin"), "bin");
        Write(QStringLiteral("secret.txt"), "secret");
        QFile::link(m_site.filePath(QStringLiteral("secret.txt")),
            m_site.filePath(QStringLiteral("site/out.txt")));
        QFile::link(m_site.filePath(QStringLiteral("site/lock.json")),
            m_site.filePath(QStringLiteral("site/in.json")));
        QFile::link(m_outside.path(), m_site.filePath(QStringLiteral("site/elsewhere")));
        ASSERT_TRUE(m_server.Start());
    }

    void Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(m_site.filePath(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_outside;
    QTemporaryDir m_site;
    FolderServer m_server { m_site.filePath(QStringLiteral("site")) };
};

TEST_F(FolderServerTest, ServesTheFolderWithTheTypeOfEachFile)
{
    const struct
    {
        const char* path;
        const char* type;
        const char* body;
        const char* cache = "no-store";
    } cases[] = {
        { "/", "text/html", "<p>home</p>" },
        { "/index.html?logout", "text/html", "<p>home</p>" },
        { "/members/", "text/html", "<p>members</p>" },
        { "/members/a%20b.css", "text/css", "p{}" },
        { "/lock.json", "application/json", "{}" },
        { "/speaker.wav", "audio/wav", "RIFF" },
        { "/picture.PNG", "image/png", "png" },
        { "/data.bin", "application/octet-stream", "bin" },
        { "/in.json", "application/json", "{}" }, // a link that stays inside
        // The program's versioned addresses are kept; anything else asked for again, a site's
        // own short version included.
        { "/members/a%20b.css?v=09afbe3c5d7a", "text/css", "p{}", "max-age=31536000, immutable" },
        { "/members/a%20b.css?v=09afbe3c5d7g", "text/css", "p{}" },
        { "/members/a%20b.css?v=2", "text/css", "p{}" },
    };
    for (const auto& c : cases) {
        const Reply reply = Ask(m_server.Port(), Get(m_server.Port(), c.path));
        EXPECT_EQ(reply.status, 200) << c.path;
        EXPECT_EQ(reply.Header("Content-Type"), c.type) << c.path;
        EXPECT_EQ(reply.Header("Cache-Control"), c.cache) << c.path;
        EXPECT_EQ(reply.body, c.body) << c.path;
    }
    // HEAD: the same head, and no body.
    const Reply head = Ask(m_server.Port(), Get(m_server.Port(), "/lock.json", "HEAD"));
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(head.Header("Content-Length"), "2");
    EXPECT_EQ(head.Header("Content-Type"), "application/json");
    EXPECT_TRUE(head.body.isEmpty()) << head.body.constData();
    // A folder asked for without its slash is sent to it, so that relative links work.
    const Reply folder = Ask(m_server.Port(), Get(m_server.Port(), "/members"));
    EXPECT_EQ(folder.status, 301);
    EXPECT_EQ(folder.Header("Location"), "/members/");
    EXPECT_EQ(m_server.UrlFor(QStringLiteral("members/a b.css?x")).toEncoded(),
        "http://127.0.0.1:" + QByteArray::number(m_server.Port()) + "/members/a%20b.css?x");
}

TEST_F(FolderServerTest, NothingOutsideTheFolderAndOnlyGetAndHead)
{
    for (const char* path :
        { "/../secret.txt", "/%2e%2e/secret.txt", "/members/..%2f..%2fsecret.txt",
            "/members/%2e%2e/%2e%2e/secret.txt", "//etc/passwd", "/out.txt", "/elsewhere/",
            "/missing.html", "/members/./index.html", "/index.html%00.png" }) {
        const Reply reply = Ask(m_server.Port(), Get(m_server.Port(), path));
        EXPECT_EQ(reply.status, 404) << path;
        EXPECT_FALSE(reply.body.contains("secret")) << path;
    }
    for (const char* method : { "POST", "PUT", "DELETE", "OPTIONS", "PATCH" }) {
        const Reply reply = Ask(m_server.Port(), Get(m_server.Port(), "/index.html", method));
        EXPECT_EQ(reply.status, 405) << method;
        EXPECT_EQ(reply.Header("Allow"), "GET, HEAD") << method;
    }
    // A page elsewhere whose host name was made to lead here is not this server's visitor.
    const Reply rebound = Ask(m_server.Port(),
        "GET /index.html HTTP/1.1\r\nHost: attacker.example:" + QByteArray::number(m_server.Port())
            + "\r\n\r\n");
    EXPECT_EQ(rebound.status, 403);
}

TEST_F(FolderServerTest, ListensOnlyOnTheLoopbackAddressAndStops)
{
    const quint16 port = m_server.Port();
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.isLoopback() || address.protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        EXPECT_FALSE(Ask(port, Get(port, "/"), address).connected)
            << qPrintable(address.toString());
    }
    m_server.Stop();
    EXPECT_FALSE(m_server.IsListening());
    EXPECT_TRUE(m_server.UrlFor(QStringLiteral("index.html")).isEmpty());
    EXPECT_FALSE(Ask(port, Get(port, "/")).connected);
    EXPECT_FALSE(FolderServer(m_site.filePath(QStringLiteral("missing"))).Start());
}

} // namespace
