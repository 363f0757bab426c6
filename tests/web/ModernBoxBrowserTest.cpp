// The modern login box in a real browser engine, on pages and files that zarnith-cli writes,
// served from a folder by a small web server on the loopback address (a secure origin, as
// WebCrypto needs).

#include "generate/LockData.h"
#include "generate/MemberSite.h"
#include "model/Doc.h"
#include "util/SecretText.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(ZARNITH_BUILD_DIR "/zarnith-cli"), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        ADD_FAILURE() << "zarnith-cli " << qPrintable(arguments.join(QLatin1Char(' '))) << ": "
                      << process.readAllStandardError().constData();
    return process.readAllStandardOutput();
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray SunAudio(int samples)
{
    QByteArray header(24, '\0');
    for (const auto& [offset, value] : { std::pair<int, quint32> { 0, 0x2E736E64 }, { 4, 24 },
             { 8, quint32(samples) }, { 12, 1 }, { 16, 8000 }, { 20, 1 } })
        qToBigEndian(value, header.data() + offset);
    return header + QByteArray(samples, '\x7f');
}

// Serves the files of a folder over HTTP and writes down every path asked for. A path can be
// made to fail a number of times first. Unknown paths get a 404 page, which a frame still shows
// at that address.
class LocalSite : public QObject
{
public:
    explicit LocalSite(const QString& folder)
        : m_folder(folder)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, &LocalSite::Accept);
    }

    QUrl Url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path));
    }
    int Requests(const QString& path) const { return int(requests.count(QLatin1Char('/') + path)); }
    void Fail(const QString& path, int times) { m_failures[QLatin1Char('/') + path] = times; }

    QStringList requests;

private:
    void Accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            auto request = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
                *request += socket->readAll();
                if (request->contains("\r\n\r\n"))
                    Answer(socket, request->left(request->indexOf("\r\n")).split(' ').value(1));
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void Answer(QTcpSocket* socket, const QByteArray& target)
    {
        const QString path = QUrl(QString::fromLatin1(target)).path();
        requests.append(path);
        QFile file(m_folder + path);
        QByteArray status = "200 OK";
        QByteArray body;
        if (path.startsWith(QLatin1String("/nowhere/"))) {
            status = "204 No Content"; // a browser stays on its page, so the box can be read
        } else if (m_failures.value(path) > 0) {
            --m_failures[path];
            status = "503 Unavailable";
        } else if (path.contains(QLatin1String("..")) || !file.open(QIODevice::ReadOnly)) {
            status = "404 Not Found";
            body = "<title>missing</title>";
        } else {
            body = file.readAll();
        }
        const QByteArray type = path.endsWith(QLatin1String(".json")) ? "application/json"
            : path.endsWith(QLatin1String(".wav"))                    ? "audio/wav"
                                                                      : "text/html";
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + type
            + "\r\nCache-Control: no-store\r\nConnection: close\r\nContent-Length: "
            + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QString m_folder;
    QTcpServer m_server;
    QHash<QString, int> m_failures;
};

// A browser page that opens new windows, as a browser does for the target "_blank".
class BrowserPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;
    QList<QWebEnginePage*> windows;

protected:
    QWebEnginePage* createWindow(WebWindowType) override
    {
        windows.append(new QWebEnginePage(profile(), this));
        return windows.last();
    }
};

class ModernBoxBrowserTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_page = new BrowserPage(&m_profile, &m_view);
        m_page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        m_view.setPage(m_page);
        m_view.resize(640, 480);
        m_view.show();
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // A project from its JSON, saved as project.loc in the site's folder.
    QString Project(const QByteArray& json)
    {
        EXPECT_TRUE(Write(Path(QStringLiteral("project.json")), json));
        const QString project = Path(QStringLiteral("project.loc"));
        RunCli({ "build", Path(QStringLiteral("project.json")), project });
        return project;
    }

    // Loads a page of the site and waits until its box (in the frame reached by frame, a
    // JavaScript expression) shows a message.
    void Open(const QString& path, const QString& frame = QStringLiteral("window"))
    {
        if (m_page->url() != m_site.Url(path))
            m_page->load(m_site.Url(path));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Message(frame).isEmpty(); }, 20000))
            << "no box in " << qPrintable(path);
    }

    QVariant Js(const QString& script, QWebEnginePage* page = nullptr)
    {
        QVariant result;
        bool done = false;
        (page ? page : m_page)->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000)) << qPrintable(script);
        return result;
    }

    // The message the box shows, or an empty text while there is none (or no such frame).
    QString Message(const QString& frame = QStringLiteral("window"))
    {
        return Js(QStringLiteral("(() => { try { const m = %1.document.querySelector("
                                 "'.zarnith-box .zb-shown'); return m ? m.textContent : ''; } "
                                 "catch (e) { return ''; } })()")
                      .arg(frame))
            .toString();
    }

    bool WaitForMessage(const QString& text, const QString& frame = QStringLiteral("window"))
    {
        return QTest::qWaitFor([&] { return Message(frame) == text; }, 15000);
    }

    // Fills the box's fields and presses its button, as a script can.
    void Login(const QString& user, const QString& password,
        const QString& frame = QStringLiteral("window"))
    {
        Js(QStringLiteral("(() => { const box = %1.document.querySelector('.zarnith-box');"
                          "const fields = box.querySelectorAll('input');"
                          "fields[0].value = %2; fields[1].value = %3;"
                          "box.querySelector('button').click(); })()")
                .arg(frame, Quoted(user), Quoted(password)));
    }

    // The same with the keyboard: Enter in the user field moves to the password, Enter there
    // logs in.
    void TypeLogin(const QString& user, const QString& password,
        const QString& frame = QStringLiteral("window"))
    {
        Js(QStringLiteral("%1.document.querySelector('.zarnith-box input').focus()").arg(frame));
        QWidget* keys = m_view.focusProxy();
        QTest::keyClicks(keys, user);
        QTest::keyClick(keys, Qt::Key_Return);
        QTest::keyClicks(keys, password);
        QTest::keyClick(keys, Qt::Key_Return);
    }

    QString PathOf(const QString& frame)
    {
        return Js(QStringLiteral("(() => { try { return %1.location.pathname; } catch (e) { "
                                 "return ''; } })()")
                      .arg(frame))
            .toString();
    }

    // Where the page's first box lies in the view.
    QRect BoxRect()
    {
        const QVariantList rect = Js(QStringLiteral("(() => { const r = document.querySelector("
                                                    "'.zarnith-box').getBoundingClientRect();"
                                                    "return [r.x, r.y, r.width, r.height]; })()"))
                                      .toList();
        return rect.size() == 4
            ? QRect(rect[0].toInt(), rect[1].toInt(), rect[2].toInt(), rect[3].toInt())
            : QRect();
    }

    bool WaitForPath(const QString& frame, const QString& path)
    {
        return QTest::qWaitFor([&] { return PathOf(frame) == path; }, 15000);
    }

    static QString Quoted(const QString& text)
    {
        return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\\\""))
            + QLatin1Char('"');
    }

    QTemporaryDir m_dir;
    LocalSite m_site { m_dir.path() };
    QWebEngineProfile m_profile; // off the record: nothing cached between tests
    QWebEngineView m_view;
    BrowserPage* m_page = nullptr;
};

const char kTargetsProject[] = R"({"width": 300, "height": 160, "locks": [
    {"userId": "ann", "password": "Tulip", "url": "a.html", "target": ""},
    {"userId": "bob", "password": "pw", "url": "sub/b.html?x=1", "target": "_self"},
    {"userId": "cat", "password": "pw", "url": "c.html", "target": "_top"},
    {"userId": "dan", "password": "pw", "url": "d.html", "target": "_parent"},
    {"userId": "eve", "password": "pw", "url": "e.html", "target": "side"},
    {"userId": "fay", "password": "pw", "url": "f.html", "target": "_blank"}]})";

TEST_F(ModernBoxBrowserTest, EachLockOpensItsUrlInItsTarget)
{
    const QString project = Project(kTargetsProject);
    RunCli({ "html", project, "--box", "modern", "--form", "preview", "--iterations", "1000", "-o",
        Path("login.html") });
    // Boxes in frames of a frame beside a frame named "side", and one box in a frame of the top.
    ASSERT_TRUE(Write(Path("top.html"),
        "<iframe name=outer src=outer.html width=1300 height=200></iframe>"
        "<iframe name=box4 src=login.html width=320 height=180></iframe>"));
    QByteArray outer;
    for (const char* name : { "box1", "box2", "box3" })
        outer += QByteArray("<iframe name=") + name
            + " src=login.html width=320 height=180></iframe>";
    ASSERT_TRUE(Write(Path("outer.html"), outer + "<iframe name=side></iframe>"));
    const QString box1 = QStringLiteral("frames.outer.frames.box1");
    for (const QString& box : { box1, QStringLiteral("frames.outer.frames.box2"),
             QStringLiteral("frames.outer.frames.box3"), QStringLiteral("frames.box4") })
        Open(QStringLiteral("top.html"), box);

    Login(QStringLiteral("eve"), QStringLiteral("pw"), box1);
    EXPECT_TRUE(WaitForPath(QStringLiteral("frames.outer.frames.side"), QStringLiteral("/e.html")));
    Login(QStringLiteral("fay"), QStringLiteral("wrong"), box1);
    EXPECT_TRUE(
        WaitForMessage(QStringLiteral("The user ID or password\nentered is incorrect."), box1));
    TypeLogin(QStringLiteral("fay"), QStringLiteral("pw"), box1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_page->windows.size() == 1; }, 15000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return m_page->windows[0]->url().path() == QLatin1String("/f.html"); }, 15000));

    struct Case
    {
        const char* user;
        const char* password;
        const char* box;
        const char* frame;
        const char* path;
    };
    const Case cases[] = {
        { "ANN", "tULIP", "frames.outer.frames.box1", "frames.outer.frames.box1", "/a.html" },
        { "bob", "pw", "frames.outer.frames.box2", "frames.outer.frames.box2", "/sub/b.html" },
        { "dan", "pw", "frames.outer.frames.box3", "frames.outer", "/d.html" },
        { "cat", "pw", "frames.box4", "window", "/c.html" },
    };
    for (const Case& lock : cases) {
        Login(QLatin1String(lock.user), QLatin1String(lock.password), QLatin1String(lock.box));
        EXPECT_TRUE(WaitForPath(QLatin1String(lock.frame), QLatin1String(lock.path)))
            << lock.user << ": " << qPrintable(m_site.requests.join(QLatin1Char(' ')));
    }
}

const char kCustomProject[] = R"({"width": 360, "height": 220, "ignoreCase": 0, "encrypt": 1,
    "backgroundColor": 14087423, "borderColor": 9530940, "borderStyle": 3, "borderThickness": 6,
    "fontFamily": "Times New Roman", "fontSize": 13, "fontBold": 0, "spacing": 6, "margin": 8,
    "userLabel": "User ID:", "loginLabel": "Sign in", "correctEmail": "owner@example.com",
    "initialMessage": "Members only: please sign in\\nwith your user ID and password.",
    "failMessage": "No more tries &#169; Velto", "failUrl": "nowhere/sorry.html",
    "correctAudio": "SOUNDS/ok.au", "incorrectAudio": "SOUNDS/no.au",
    "locks": [{"userId": "Bob", "password": "Secret", "url": "members/index.html?a=1", "target": ""}]})";

TEST_F(ModernBoxBrowserTest, WrongPasswordsSoundsAndTheFailUrlInTheBothPage)
{
    ASSERT_TRUE(QDir().mkdir(Path(QStringLiteral("sounds"))));
    for (const char* name : { "sounds/ok.au", "sounds/no.au" })
        ASSERT_TRUE(Write(Path(QLatin1String(name)), SunAudio(800)));
    const QString project
        = Project(QByteArray(kCustomProject).replace("SOUNDS", QFile::encodeName(Path("sounds"))));
    // Publishing the modern box converts the sounds beside its page.
    RunCli({ "publish", project, m_dir.path(), "--box", "modern", "--iterations", "100000" });
    for (const char* name : { "ok.wav", "no.wav" }) {
        QFile wave(Path(QLatin1String(name)));
        ASSERT_TRUE(wave.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(wave.read(4), "RIFF");
        EXPECT_EQ(wave.size(), 844);
    }
    RunCli({ "html", project, "--box", "both", "--iterations", "100000", "-o", Path("both.html") });

    const QString initial
        = QStringLiteral("Members only: please sign in\nwith your user ID and password.");
    const QString incorrect = QStringLiteral("The user ID or password\nentered is incorrect.");
    Open(QStringLiteral("both.html"));
    EXPECT_EQ(Message(), initial);
    // The applet's look, as its own test checks it: the background inside a bump border,
    // raised outside and sunken inside. The picture goes beside the applet's for comparison.
    const QRect box = BoxRect();
    ASSERT_EQ(box.size(), QSize(360, 220));
    const QImage shot = m_view.grab().toImage();
    EXPECT_EQ(shot.pixelColor(box.left() + 9, box.center().y()), QColor(0xFF, 0xF4, 0xD6));
    EXPECT_GT(shot.pixelColor(box.left(), box.center().y()).lightness(),
        shot.pixelColor(box.left() + 5, box.center().y()).lightness());
    QImage picture(box.size() + QSize(32, 32), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).drawImage(16, 16, shot.copy(box));
    QDir().mkpath(QStringLiteral(ZARNITH_BUILD_DIR "/web-modernbox"));
    picture.save(QStringLiteral(ZARNITH_BUILD_DIR "/web-modernbox/modern-custom.png"));

    EXPECT_EQ(m_site.Requests(QStringLiteral("no.wav")), 0);
    Login(QStringLiteral("bob"), QStringLiteral("Secret")); // ignore case is off
    EXPECT_TRUE(WaitForMessage(incorrect));
    // Every wrong try plays the incorrect sound anew (a browser may ask for it in parts).
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return m_site.Requests(QStringLiteral("no.wav")) > 0; }, 5000));
    const int played = m_site.Requests(QStringLiteral("no.wav"));
    EXPECT_EQ(
        Js(QStringLiteral("document.querySelector('.zarnith-box input[type=password]').value")),
        QString());
    Login(QStringLiteral("Bob"), QStringLiteral("secret"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return m_site.Requests(QStringLiteral("no.wav")) > played; }, 5000));
    Login(QStringLiteral("Bob"), QStringLiteral("nope"));
    EXPECT_TRUE(WaitForMessage(QStringLiteral("No more tries \u00a9 Velto")));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return m_site.Requests(QStringLiteral("nowhere/sorry.html")) == 1; }, 5000));
    EXPECT_EQ(Js(QStringLiteral("document.querySelector('.zarnith-box button').disabled")), true);
    EXPECT_EQ(m_site.Requests(QStringLiteral("ok.wav")), 0);

    m_page->load(m_site.Url(QStringLiteral("both.html")));
    EXPECT_TRUE(WaitForMessage(initial));
    Login(QStringLiteral("Bob"), QStringLiteral("Secret"));
    EXPECT_TRUE(WaitForPath(QStringLiteral("window"), QStringLiteral("/members/index.html")));
    EXPECT_GT(m_site.Requests(QStringLiteral("ok.wav")), 0);
}

TEST_F(ModernBoxBrowserTest, LockFileLoadsAfterAFailureAndIsReloaded)
{
    // A narrow box: its texts wrap or are cut, its controls stay inside it.
    const QString project = Project(R"({"readLocksFromFile": 1, "lockFile": "locks.txt",
        "reloadInterval": 1, "width": 150, "height": 130, "passwordLabel": "Your password:",
        "locks": [{"userId": "carol", "password": "pw", "url": "carol.html", "target": ""}]})");
    RunCli({ "publish", project, m_dir.path(), "--box", "modern", "--iterations", "100000" });
    m_site.Fail(QStringLiteral("locks.json"), 1);

    // A plain HTTP page elsewhere than on this machine gets no WebCrypto, and the box says why.
    QWebEngineScript insecure;
    insecure.setSourceCode(
        QStringLiteral("Object.defineProperty(window, 'isSecureContext', { value: false });"));
    insecure.setInjectionPoint(QWebEngineScript::DocumentCreation);
    insecure.setWorldId(QWebEngineScript::MainWorld);
    m_page->scripts().insert(insecure);
    Open(QStringLiteral("index.html"));
    EXPECT_EQ(Message(),
        QStringLiteral("This login box works only on a secure page\n(https://, "
                       "or a file on this computer)."));
    EXPECT_EQ(Js(QStringLiteral("document.querySelector('.zarnith-box input').disabled")), true);
    m_page->scripts().clear();

    m_page->load(m_site.Url(QStringLiteral("index.html")));
    EXPECT_TRUE(WaitForMessage(QStringLiteral("The locks could not be loaded.\nTrying again...")));
    EXPECT_EQ(Js(QStringLiteral("document.querySelector('.zarnith-box button').disabled")), true);
    EXPECT_TRUE(
        WaitForMessage(QStringLiteral("Enter your user ID and\npassword, then click login.")));
    EXPECT_EQ(Js(QStringLiteral("(() => { const box = document.querySelector('.zarnith-box');"
                                "const outer = box.getBoundingClientRect();"
                                "return Array.from(box.querySelectorAll('input, button, label'),"
                                " c => c.getBoundingClientRect()).every(r => r.width > 0"
                                " && r.left >= outer.left && r.right <= outer.right"
                                " && r.top >= outer.top && r.bottom <= outer.bottom); })()")),
        true);

    // The author adds a lock; the box picks it up at its next reload.
    const QByteArray added = RunCli({ "locks", Project(R"({"locks": [
        {"userId": "carol", "password": "pw", "url": "carol.html", "target": ""},
        {"userId": "dave", "password": "pw2", "url": "dave.html", "target": ""}]})"),
        "--iterations", "100000" });
    ASSERT_TRUE(Write(Path(QStringLiteral("locks.json")), added));
    const int loads = m_site.Requests(QStringLiteral("locks.json"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return m_site.Requests(QStringLiteral("locks.json")) >= loads + 2; }, 10000));
    Login(QStringLiteral("DAVE"), QStringLiteral("PW2"));
    EXPECT_TRUE(WaitForPath(QStringLiteral("window"), QStringLiteral("/dave.html")));
}

const char kLettersProject[] = R"({"retries": 10, "locks": [
    {"userId": "zo\u00eb", "password": "caf\u00e9", "url": "nfc.html", "target": ""},
    {"userId": "Ann", "password": "Stra\u00dfe \u019b\u0264\u1c8a\ua7cd\ud803\udd70\ud81a\udebb",
     "url": "letters.html", "target": ""}]})";

TEST_F(ModernBoxBrowserTest, SecretsTakeTheProgramsTextFormWhateverTheBrowser)
{
    RunCli({ "html", Project(kLettersProject), "--box", "modern", "--form", "preview",
        "--iterations", "1000", "-o", Path("letters.html") });
    Open(QStringLiteral("letters.html"));

    // The box's own upper-case function, run over every code point: each one it changes, with
    // what it becomes, must be what the program's table gives.
    const QString changedByBox = Js(QStringLiteral(R"((() => {
        const script = document.querySelector('.zarnith-box script:not([type])');
        const source = script.textContent.replace(/if \(!members[^\n]*\n\}\)\(document\.currentScript\);\s*$/,
            'return upperCaseForm; })');
        const upperCaseForm = (0, eval)(source)(script);
        const changed = [];
        for (let code = 0; code <= 0x10FFFF; code++) {
            if (code >= 0xD800 && code <= 0xDFFF) continue;
            const text = String.fromCodePoint(code);
            const upper = upperCaseForm(text);
            if (upper !== text) changed.push(code.toString(16) + ':' + Array.from(upper,
                c => c.codePointAt(0).toString(16)).join(' '));
        }
        return changed.join(',');
    })())"))
                                     .toString();
    QStringList changedByProgram;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF)
            continue;
        const QString upper = FrozenUpperCase(code);
        if (upper == QString::fromUcs4(&code, 1))
            continue;
        QStringList parts;
        for (const uint part : upper.toUcs4())
            parts.append(QString::number(part, 16));
        changedByProgram.append(
            QString::number(uint(code), 16) + QLatin1Char(':') + parts.join(QLatin1Char(' ')));
    }
    EXPECT_GT(changedByProgram.size(), 1400);
    EXPECT_EQ(changedByBox, changedByProgram.join(QLatin1Char(',')));

    struct Case
    {
        const char16_t* user;
        const char16_t* password;
        const char* path;
    };
    const Case cases[] = {
        { u"zoe\u0308", u"cafe\u0301", "/nfc.html" }, // typed decomposed
        { u"ZO\u00cb", u"CAF\u00c9", "/nfc.html" },
        { u"ANN", u"STRASSE \u019b\u0264\u1c8a\ua7cd\U00010D70\U00016EBB", "/letters.html" },
    };
    for (const Case& c : cases) {
        Open(QStringLiteral("letters.html")); // after each login, a fresh box
        Login(QString::fromUtf16(c.user), QString::fromUtf16(c.password));
        EXPECT_TRUE(WaitForPath(QStringLiteral("window"), QLatin1String(c.path))) << c.path;
    }
    // Stored decomposed, typed composed, with case kept.
    RunCli({ "html", Project(R"({"ignoreCase": 0, "locks": [
        {"userId": "Zoe\u0308", "password": "Cafe\u0301", "url": "nfd.html", "target": ""}]})"),
        "--box", "modern", "--form", "preview", "--iterations", "1000", "-o", Path("nfd.html") });
    Open(QStringLiteral("nfd.html"));
    Login(QString::fromUtf16(u"Zo\u00eb"), QString::fromUtf16(u"Caf\u00e9"));
    EXPECT_TRUE(WaitForPath(QStringLiteral("window"), QStringLiteral("/nfd.html")));
}

QByteArray Changed(const QByteArray& lockData, const char* key, const QJsonValue& value)
{
    QJsonObject data = QJsonDocument::fromJson(lockData).object();
    data.insert(QLatin1String(key), value);
    return QJsonDocument(data).toJson(QJsonDocument::Compact);
}

TEST_F(ModernBoxBrowserTest, HostileLockDataIsNotLoadedAndCountsNoTry)
{
    RunCli({ "publish", Project(R"({"retries": 2, "readLocksFromFile": 1, "lockFile": "locks.txt",
        "reloadInterval": 1, "locks": []})"),
        m_dir.path(), "--box", "modern", "--iterations", "100000" });
    // Lock data made by the program's own generator, with a script address the window refuses.
    Doc doc;
    doc.locks = { LockEntry { "ann", "pw", "first.html", "" },
        LockEntry { "eve", "pw", "javascript:document.title='opened'", "" } };
    LockKeyCache cache;
    const QByteArray good
        = *BuildLockData(doc, *LockIterations::Checked(1000, LockDataUse::Preview), cache);
    QJsonObject badId = QJsonDocument::fromJson(good).object();
    QJsonArray records = badId.value(QLatin1String("locks")).toArray();
    QJsonObject first = records[0].toObject();
    first.insert(QLatin1String("id"), QString::fromLatin1(QByteArray(15, 'x').toBase64()));
    records[0] = first;
    badId.insert(QLatin1String("locks"), records);

    const QByteArray hostile[] = {
        Changed(good, "format", QStringLiteral("zarnith-locks/1")),
        Changed(good, "iterations", 0),
        Changed(good, "iterations", -1),
        QByteArray(good).replace("\"iterations\":1000", "\"iterations\":1e20"),
        Changed(good, "iterations", 4294967295.0),
        Changed(good, "iterations", 1.5),
        Changed(good, "salt", QString::fromLatin1(QByteArray(15, 's').toBase64())),
        Changed(good, "fold", QStringLiteral("false")),
        QJsonDocument(badId).toJson(QJsonDocument::Compact),
        good.left(good.size() / 2),
    };
    const QString notLoaded = QStringLiteral("The locks could not be loaded.\nTrying again...");
    for (const QByteArray& data : hostile) {
        ASSERT_TRUE(Write(Path(QStringLiteral("locks.json")), data));
        m_page->load(m_site.Url(QStringLiteral("index.html")));
        EXPECT_TRUE(WaitForMessage(notLoaded)) << data.left(120).constData();
        EXPECT_EQ(
            Js(QStringLiteral("document.querySelector('.zarnith-box button').disabled")), true);
    }
    ASSERT_TRUE(Write(Path(QStringLiteral("locks.json")), good));
    EXPECT_TRUE(
        WaitForMessage(QStringLiteral("Enter your user ID and\npassword, then click login.")));
    Login(QStringLiteral("eve"), QStringLiteral("pw"));
    QTest::qWait(1500);
    EXPECT_EQ(Js(QStringLiteral("[document.title, location.pathname].join(' ')")),
        QStringLiteral(" /index.html"));
    Login(QStringLiteral("ann"), QStringLiteral("wrong")); // the first try counted
    EXPECT_TRUE(WaitForMessage(QStringLiteral("The user ID or password\nentered is incorrect.")));
}

// Member areas: a site published with protected pages and a protected picture, logged into
// once, moved through, refused where the member's areas do not reach, logged out of; Remember me
// across a second page of the same browser (a new tab), and a publish after a member's removal.
TEST_F(ModernBoxBrowserTest, MembersOpenTheirAreasOnly)
{
    const QByteArray png = QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAAAAADRSSBWAAAA"
                                                  "C0lEQVR4nGNoaAAAAYMBARg1IhUAAAAASUVORK5CYII=");
    auto page = [](const char* title, const char* body) {
        return QByteArray("<!DOCTYPE html><title>") + title + "</title><h1>" + title + "</h1>"
            + body + "<script>document.body.dataset.ran = 'yes';</script>";
    };
    // A tenth of a second of silence, as 8-bit samples at 8 kHz.
    QByteArray wave("RIFF");
    for (quint32 field : { 36u + 800u, 0x45564157u /* WAVE */, 0x20746d66u /* "fmt " */, 16u,
             0x00010001u /* PCM, mono */, 8000u, 8000u, 0x00080001u /* 1 byte a sample */,
             0x61746164u /* data */, 800u }) {
        const quint32 little = qToLittleEndian(field);
        wave.append(reinterpret_cast<const char*>(&little), 4);
    }
    wave.append(800, '\x80');
    QDir(m_dir.path()).mkpath(QStringLiteral("site/staff/pics"));
    QDir(m_dir.path()).mkpath(QStringLiteral("site/staff/media"));
    QDir(m_dir.path()).mkpath(QStringLiteral("site/club"));
    ASSERT_TRUE(Write(Path(QStringLiteral("site/staff/a.html")),
        page("Staff A",
            "<img id=pic src=pics/p.png><a id=next href=b.html>B</a>"
            "<audio id=sound preload=auto><source src=media/s.wav type=audio/wav></audio>"
            "<video id=film src=media/f.webm></video>"
            "<a id=notes href=media/notes.txt download>notes</a>"
            "<span id=out data-zarnith-logout>Log out</span>")));
    ASSERT_TRUE(Write(Path(QStringLiteral("site/staff/media/s.wav")), wave));
    ASSERT_TRUE(Write(Path(QStringLiteral("site/staff/media/f.webm")), "a film, not really"));
    ASSERT_TRUE(Write(Path(QStringLiteral("site/staff/media/notes.txt")), "staff notes"));
    // Two pages large enough that their content lies in a file beside them.
    QByteArray longBody;
    for (int i = 0; longBody.size() <= kLargestInlinePage; ++i)
        longBody += "<p>Paragraph " + QByteArray::number(i) + " of a long members' page.</p>";
    ASSERT_TRUE(Write(Path(QStringLiteral("site/staff/b.html")), page("Staff B", longBody)));
    ASSERT_TRUE(Write(Path(QStringLiteral("site/staff/pics/p.png")), png));
    ASSERT_TRUE(Write(Path(QStringLiteral("site/club/c.html")), page("Club C", longBody)));
    const QByteArray ann
        = R"({"userId": "ann", "password": "a", "url": "staff/a.html", "areas": ["staff"]})";
    const QByteArray bob
        = R"({"userId": "bob", "password": "b", "url": "club/c.html", "areas": ["club"]})";
    const QByteArray zed = R"({"userId": "zed", "password": "z", "url": "staff/b.html"})";
    auto publish = [&](const QByteArray& locks) {
        const QString project = Path(QStringLiteral("project.loc"));
        QByteArray json = R"({"siteFolder": "site", "boxKind": "modern", "rememberDays": 3,
            "areas": [{"name": "staff", "pages": ["staff/**"]}, {"name": "club", "pages": ["club/*"]}],
            "locks": [)"
            + locks + "]}";
        if (QFile::exists(project)) {
            // The project's own JSON with other locks: the area keys stay as they were.
            QJsonObject dumped = QJsonDocument::fromJson(RunCli({ "dump", project })).object();
            dumped[QStringLiteral("locks")] = QJsonDocument::fromJson("[" + locks + "]").array();
            json = QJsonDocument(dumped).toJson();
        }
        ASSERT_TRUE(Write(Path(QStringLiteral("project.json")), json));
        RunCli({ "build", Path(QStringLiteral("project.json")), project });
        RunCli({ "publish", project, Path(QStringLiteral("out")), "--iterations", "100000" });
    };
    publish(ann + ',' + bob + ',' + zed);

    // Loads a page and waits until it is there, so that nothing acts on the page before it.
    auto load = [&](const QString& path, QWebEnginePage* on = nullptr) {
        const QString address = QStringLiteral("/out/") + path;
        (on ? on : m_page)->load(m_site.Url(QStringLiteral("out/") + path));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return Js(QStringLiteral("location.pathname + location.search + ' '"
                                         " + document.readyState"),
                           on)
                    == address + QStringLiteral(" complete");
            },
            20000))
            << qPrintable(path);
    };
    auto shows = [&](const char* title, QWebEnginePage* on = nullptr) {
        return QTest::qWaitFor(
            [&] {
                return Js(QStringLiteral("(document.querySelector('h1') || {}).textContent + ' '"
                                         " + (document.body || { dataset: {} }).dataset.ran"),
                           on)
                    == QLatin1String(title) + QLatin1String(" yes");
            },
            20000);
    };
    auto boxSays = [&](const QString& text, QWebEnginePage* on = nullptr) {
        return QTest::qWaitFor(
            [&] {
                return Js(QStringLiteral("(() => { const m = document.querySelector('.zarnith-box"
                                         " .zb-shown'); return m && getComputedStyle(m.closest("
                                         "'.zarnith-box')).visibility === 'visible' ? "
                                         "m.textContent : ''; })()"),
                           on)
                    == text;
            },
            20000);
    };
    auto login = [&](const QString& user, const QString& password, bool remember = false,
                     QWebEnginePage* on = nullptr) {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return Js(QStringLiteral("(() => { const i = document.querySelector('.zarnith-box"
                                         " input'); return !!i && !i.disabled; })()"),
                    on)
                    .toBool();
            },
            20000));
        Js(QStringLiteral("(() => { const box = document.querySelector('.zarnith-box');"
                          "const fields = box.querySelectorAll('input');"
                          "fields[0].value = %1; fields[1].value = %2;"
                          "box.querySelector('.zb-remember input').checked = %3;"
                          "box.querySelector('button[type=submit]').click(); })()")
                .arg(Quoted(user), Quoted(password),
                    remember ? QStringLiteral("true") : QStringLiteral("false")),
            on);
    };
    const QString initial = QStringLiteral("Enter your user ID and\npassword, then click login.");
    const QString noAccess = QStringLiteral("Your account does not open this page.");

    load(QStringLiteral("index.html"));
    login(QStringLiteral("ann"), QStringLiteral("a"));
    EXPECT_TRUE(shows("Staff A"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Js(QStringLiteral("document.getElementById('pic').naturalWidth")) == 2; },
        10000));
    // Its sound plays as long as the file is, its film holds the film's bytes, and its download
    // saves the notes, each opened from the protected file.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return Js(QStringLiteral(
                       "Math.round(document.getElementById('sound').duration * 1000)"))
                == 100;
        },
        10000));
    Js(QStringLiteral("fetch(document.getElementById('film').src).then(r => r.text())"
                      ".then(text => { window.film = text; })"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Js(QStringLiteral("window.film")) == QStringLiteral("a film, not really"); },
        10000));
    const QString downloads = Path(QStringLiteral("downloads"));
    QUrl downloaded;
    QObject::connect(&m_profile, &QWebEngineProfile::downloadRequested,
        [&](QWebEngineDownloadRequest* download) {
            downloaded = download->url();
            download->setDownloadDirectory(downloads);
            download->accept();
        });
    Js(QStringLiteral("document.getElementById('notes').click()"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            QFile notes(downloads + QStringLiteral("/notes.txt"));
            return notes.open(QIODevice::ReadOnly) && notes.readAll() == "staff notes";
        },
        10000));
    EXPECT_EQ(downloaded.scheme(), QStringLiteral("blob"));
    Js(QStringLiteral("document.getElementById('next').click()"));
    EXPECT_TRUE(shows("Staff B"));
    // Its content was fetched once, by the page's head, and taken from there.
    EXPECT_EQ(m_site.Requests(QStringLiteral("out/staff/b.html.zarnith")), 1);

    load(QStringLiteral("club/c.html"));
    EXPECT_TRUE(boxSays(noAccess));
    // The box there is drawn by the site's one shared script, in the box's own style.
    EXPECT_EQ(Js(QStringLiteral("[getComputedStyle(document.querySelector('.zarnith-box')).display,"
                                " new URL(document.querySelector('.zarnith-box script[src]').src)"
                                ".pathname].join(' ')")),
        QStringLiteral("inline-block /out/zarnith-box.js"));
    login(QStringLiteral("bob"), QStringLiteral("b"));
    EXPECT_TRUE(shows("Club C"));
    EXPECT_EQ(PathOf(QStringLiteral("window")), QStringLiteral("/out/club/c.html"));

    load(QStringLiteral("club/c.html?logout"));
    EXPECT_TRUE(boxSays(initial));
    EXPECT_EQ(Js(QStringLiteral("sessionStorage.length")).toInt(), 0);
    load(QStringLiteral("staff/a.html"));
    EXPECT_TRUE(boxSays(initial));
    login(QStringLiteral("ann"), QStringLiteral("a"));
    EXPECT_TRUE(shows("Staff A"));
    Js(QStringLiteral("document.getElementById('out').click()"));
    EXPECT_TRUE(boxSays(initial));

    // A second page of the same browser starts with a session of its own, as a new tab does.
    load(QStringLiteral("index.html"));
    login(QStringLiteral("ann"), QStringLiteral("a"), true);
    EXPECT_TRUE(shows("Staff A"));
    QWebEnginePage tab(&m_profile);
    load(QStringLiteral("staff/b.html"), &tab);
    EXPECT_TRUE(shows("Staff B", &tab)) << "Remember me does not reach a new tab";
    load(QStringLiteral("index.html?logout"), &tab);
    EXPECT_TRUE(boxSays(initial, &tab));
    load(QStringLiteral("index.html"));
    login(QStringLiteral("ann"), QStringLiteral("a"));
    EXPECT_TRUE(shows("Staff A"));
    QWebEnginePage otherTab(&m_profile);
    load(QStringLiteral("staff/b.html"), &otherTab);
    EXPECT_TRUE(boxSays(initial, &otherTab)) << "a login without Remember me reaches a new tab";

    // bob's kept key opens nothing published after his removal; zed keeps his login.
    load(QStringLiteral("index.html"));
    login(QStringLiteral("bob"), QStringLiteral("b"));
    EXPECT_TRUE(shows("Club C"));
    load(QStringLiteral("index.html"), &tab);
    login(QStringLiteral("zed"), QStringLiteral("z"), false, &tab);
    EXPECT_TRUE(shows("Staff B", &tab));
    publish(ann + ',' + zed);
    load(QStringLiteral("club/c.html"));
    EXPECT_TRUE(boxSays(noAccess));
    load(QStringLiteral("staff/a.html"), &tab);
    EXPECT_TRUE(shows("Staff A", &tab));
}

} // namespace
