#include "generate/HtmlPage.h"
#include "generate/LockInputFile.h"
#include "generate/ParameterBlock.h"
#include "generate/ResourceList.h"
#include "model/Doc.h"
#include "model/ProjectFile.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"
#include "util/SunAudio.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun RunCli(const QStringList& arguments,
    const QString& program = QStringLiteral(ZARNITH_BUILD_DIR "/zarnith-cli"))
{
    QProcess process;
    process.start(program, arguments);
    CliRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

LockEntry Lock(const QByteArray& user, const QByteArray& url)
{
    LockEntry lock;
    lock.userId = user;
    lock.password = "pw";
    lock.url = url;
    return lock;
}

QByteArray SunAudio(const QByteArray& samples, quint32 channels = 1)
{
    QByteArray header(24, '\0');
    for (const auto& [offset, value] : { std::pair<int, quint32> { 0, 0x2E736E64 }, { 4, 24 },
             { 8, quint32(samples.size()) }, { 12, 1 }, { 16, 8000 }, { 20, channels } })
        qToBigEndian(value, header.data() + offset);
    return header + samples;
}

class OutputCommandsTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString Path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    QByteArray Bytes(const char* name) const { return QFile::encodeName(Path(name)); }

    QString SaveDoc(Doc& doc, const char* name = "project.loc")
    {
        const QString path = Path(name);
        EXPECT_TRUE(SaveProject(doc, path).ok);
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(OutputCommandsTest, HtmlInEachFormByteForByte)
{
    Doc doc;
    doc.locks.push_back(Lock("ann", "a\\b.html"));
    doc.fontSize = 12;
    const QString project = SaveDoc(doc);
    EXPECT_EQ(RunCli({ "html", project }).out, BuildHtmlPage(doc, HtmlPageForm::File));
    EXPECT_EQ(RunCli({ "html", project, "--box", "classic" }).out,
        BuildHtmlPage(doc, HtmlPageForm::File));
    for (const auto& [name, form] : { std::pair { "file", HtmlPageForm::File },
             { "preview", HtmlPageForm::Preview }, { "segment", HtmlPageForm::Segment } }) {
        const CliRun run = RunCli({ "html", project, "--form", QLatin1String(name) });
        EXPECT_EQ(run.exitCode, 0) << name;
        EXPECT_EQ(run.out, BuildHtmlPage(doc, form)) << name;
    }

    const CliRun toFile = RunCli({ "html", "-o", Path("page.html"), project, "--form", "preview" });
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_TRUE(toFile.out.isEmpty());
    EXPECT_EQ(Read(Path("page.html")), BuildHtmlPage(doc, HtmlPageForm::Preview));
}

TEST_F(OutputCommandsTest, ParamsLockFileAndResources)
{
    Doc doc;
    doc.encrypt = 1;
    doc.locks.push_back(Lock("ann", "web\\a.html"));
    doc.locks.push_back(Lock("bob", "b.html"));
    doc.readLocksFromFile = 1;
    doc.lockFile = "locks.dat";
    doc.correctAudio = "/s/ok.au";
    const QString project = SaveDoc(doc);

    EXPECT_EQ(RunCli({ "params", project }).out, BuildParameterBlock(doc));
    EXPECT_EQ(RunCli({ "lockfile", project }).out, BuildLockInputFile(doc));
    EXPECT_EQ(RunCli({ "lockfile", project, "-o", Path("out.txt") }).exitCode, 0);
    EXPECT_EQ(Read(Path("out.txt")), BuildLockInputFile(doc));

    const CliRun resources = RunCli({ "resources", project });
    EXPECT_EQ(resources.exitCode, 0);
    EXPECT_EQ(resources.out, ZARNITH_BUILD_DIR "/Zarnith.class\nlocks.dat\n/s/ok.au\n");

    // The project's own kind and count decide, unless the options say otherwise.
    doc.boxKind = BoxKind::Modern;
    doc.iterations = 123456;
    SaveDoc(doc);
    EXPECT_EQ(RunCli({ "resources", project }).out, "locks.json\n/s/ok.wav\n");
    EXPECT_EQ(RunCli({ "resources", project, "--box", "classic" }).out, resources.out);
    EXPECT_TRUE(RunCli({ "locks", project }).out.contains("\"iterations\":123456"));
    EXPECT_TRUE(RunCli({ "locks", project, "--iterations", "100000" })
                    .out.contains("\"iterations\":100000"));
}

TEST_F(OutputCommandsTest, UsageAndInputFailures)
{
    Doc doc;
    const QString project = SaveDoc(doc);
    for (const QStringList& arguments :
        QList<QStringList> { { "html" }, { "html", project, "--form", "poster" },
            { "html", project, "-o" }, { "html", project, "--bogus", "x" }, { "params" },
            { "lockfile", project, "extra" }, { "resources" }, { "publish", project },
            { "au2wav", "in.au" }, { "html", project, "--box", "applet" },
            { "resources", project, "--box", "Modern" }, { "publish", project, "dir", "--box" } }) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(arguments.join(QLatin1Char(' ')));
        EXPECT_TRUE(run.err.startsWith("usage: zarnith-cli " + arguments[0].toLatin1()));
    }

    // Published pages make every guess cost real work; only the preview may use a low count.
    const CliRun tooFew = RunCli({ "html", project, "--box", "modern", "--iterations", "99999" });
    EXPECT_EQ(tooFew.exitCode, 1);
    EXPECT_EQ(tooFew.err, "Please enter an integer between 100000 and 10000000.\n");
    EXPECT_EQ(RunCli({ "html", project, "--box", "both", "--form", "preview", "--iterations", "5" })
                  .exitCode,
        0);

    const CliRun missing = RunCli({ "params", Path("none.loc") });
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err.count('\n'), 1);
    EXPECT_TRUE(missing.err.contains(Bytes("none.loc")));

    // A lock the login box could not read back is refused by every output that carries locks.
    doc.locks.push_back(Lock("ann", "a.html"));
    doc.locks.push_back(Lock("bob", "b.html"));
    doc.locks[1].target = "_top\r\nLock9=x";
    const QString unreadable = SaveDoc(doc);
    for (const QStringList& arguments : QList<QStringList> { { "html", unreadable },
             { "params", unreadable }, { "lockfile", unreadable, "-o", Path("locks.txt") },
             { "publish", unreadable, Path("site") } }) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 1) << qPrintable(arguments[0]);
        EXPECT_EQ(run.err, FormatResourceText(IDS_UNREADABLE_LOCK, "2 (\"bob\")", "target") + "\n");
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(Path("locks.txt")));
    EXPECT_FALSE(QFile::exists(Path("site")));
}

TEST_F(OutputCommandsTest, UnwritableOutputNamesTheFileAndTheCause)
{
    Doc doc;
    const QString project = SaveDoc(doc);
    const QString target = project + QStringLiteral("/page.html"); // under a regular file
    const CliRun run = RunCli({ "html", project, "-o", target });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, FormatResourceText(IDS_BAD_PATH, QFile::encodeName(target)) + "\n");

    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: a read-only folder does not refuse writes";
    ASSERT_TRUE(QDir().mkdir(Path("readonly")));
    QFile::setPermissions(Path("readonly"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const CliRun denied = RunCli({ "lockfile", project, "-o", Path("readonly/lock.txt") });
    QFile::setPermissions(
        Path("readonly"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(denied.exitCode, 1);
    EXPECT_EQ(denied.err, "Access to " + Bytes("readonly/lock.txt") + " was denied.\n");
}

TEST_F(OutputCommandsTest, AuToWavConvertsOrRejectsTheFile)
{
    QByteArray samples;
    for (int i = 0; i < 1000; ++i)
        samples += char(QByteArray::fromHex("ff80007f").at(i % 4));
    ASSERT_TRUE(Write(Path("in.au"), SunAudio(samples)));
    const CliRun run = RunCli({ "au2wav", Path("in.au"), Path("out.wav") });
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray wave = Read(Path("out.wav"));
    ASSERT_EQ(wave.size(), 1044);
    EXPECT_EQ(qFromLittleEndian<quint32>(wave.constData() + 4), 1036u);
    EXPECT_EQ(qFromLittleEndian<quint32>(wave.constData() + 40), 1000u);
    EXPECT_EQ(wave.mid(44, 4), QByteArray::fromHex("80fd0280"));

    ASSERT_TRUE(Write(Path("stereo.au"), SunAudio(samples, 2)));
    const CliRun bad = RunCli({ "au2wav", Path("stereo.au"), Path("bad.wav") });
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, FormatResourceText(IDS_BAD_AUDIO_FORMAT, Bytes("stereo.au")) + "\n");
    EXPECT_FALSE(QFile::exists(Path("bad.wav")));

    // The input itself, by a link or another spelling, is never the output.
    ASSERT_TRUE(QFile::link(Path("in.au"), Path("link.wav")));
    for (const QString& out : { Path("link.wav"), m_dir.path() + QStringLiteral("/./in.au") }) {
        const CliRun refused = RunCli({ "au2wav", Path("in.au"), out });
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(
            refused.err, FormatResourceText(IDS_OUTPUT_IS_INPUT, QFile::encodeName(out)) + "\n");
    }
    EXPECT_EQ(Read(Path("in.au")), SunAudio(samples));

    // More samples than a wave file can count (a sparse file: nothing is read or written).
    QFile huge(Path("huge.au"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.write(SunAudio({})) == 24
        && huge.resize(24 + qint64(MaxWaveSampleCount) + 1));
    huge.close();
    const CliRun large = RunCli({ "au2wav", Path("huge.au"), Path("huge.wav") });
    EXPECT_EQ(large.exitCode, 1);
    EXPECT_EQ(large.err, FormatResourceText(IDS_AUDIO_TOO_LARGE, Bytes("huge.au")) + "\n");
    EXPECT_FALSE(QFile::exists(Path("huge.wav")));
}

// Publishing needs the applet's class file beside the program, so these tests run a copy of the
// CLI from a folder that holds a stand-in class file.
class PublishTest : public OutputCommandsTest
{
protected:
    void SetUp() override
    {
        OutputCommandsTest::SetUp();
        ASSERT_TRUE(QDir().mkdir(Path("bin")));
        m_cli = Path("bin/zarnith-cli");
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZARNITH_BUILD_DIR "/zarnith-cli"), m_cli));
        ASSERT_TRUE(Write(Path("bin/Zarnith.class"), "\xCA\xFE\xBA\xBE applet"));
        ASSERT_TRUE(Write(Path("ok.au"), SunAudio("ok")));
        ASSERT_TRUE(Write(Path("no.au"), SunAudio("no")));

        m_doc.locks.push_back(Lock("ann", "C:\\web\\a.html"));
        m_doc.readLocksFromFile = 1;
        m_doc.lockFile = "C:\\site\\locks.txt";
        m_doc.correctAudio = Bytes("ok.au");
        m_doc.incorrectAudio = Bytes("no.au");
        m_doc.htmlFilePath = "/somewhere/else/login.htm";
        m_project = SaveDoc(m_doc);
    }

    QByteArray Published(const char* name) const { return Bytes("pub/") + name; }

    Doc m_doc;
    QString m_cli;
    QString m_project;
};

TEST_F(PublishTest, WritesThePageAndLockFileAndCopiesTheResources)
{
    const CliRun first = RunCli({ "publish", m_project, Path("pub") }, m_cli);
    ASSERT_EQ(first.exitCode, 0) << first.err.constData();
    EXPECT_EQ(first.out,
        "written " + Published("login.htm") + "\nwritten " + Published("locks.txt") + "\ncopied "
            + Bytes("bin/Zarnith.class") + " -> " + Published("Zarnith.class") + "\ncopied "
            + Bytes("ok.au") + " -> " + Published("ok.au") + "\ncopied " + Bytes("no.au") + " -> "
            + Published("no.au") + "\n");
    // Generated in the CLI copy's own program directory: same class name as here.
    EXPECT_EQ(Read(Path("pub/login.htm")), BuildHtmlPage(m_doc, HtmlPageForm::File));
    EXPECT_EQ(Read(Path("pub/locks.txt")), BuildLockInputFile(m_doc));
    EXPECT_EQ(Read(Path("pub/Zarnith.class")), Read(Path("bin/Zarnith.class")));
    EXPECT_EQ(Read(Path("pub/ok.au")), Read(Path("ok.au")));
    EXPECT_EQ(Read(Path("pub/no.au")), Read(Path("no.au")));

    // Links in the folder are replaced, never written through nor taken for copies.
    ASSERT_TRUE(Write(Path("outside"), "keep"));
    for (const char* name : { "pub/login.htm", "pub/Zarnith.class" })
        ASSERT_TRUE(QFile::remove(Path(name)) && QFile::link(Path("outside"), Path(name)));
    const CliRun second = RunCli({ "publish", m_project, Path("pub") }, m_cli);
    ASSERT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out,
        "written " + Published("login.htm") + "\nup to date " + Published("locks.txt") + "\ncopied "
            + Bytes("bin/Zarnith.class") + " -> " + Published("Zarnith.class") + "\nup to date "
            + Published("ok.au") + "\nup to date " + Published("no.au") + "\n");
    EXPECT_EQ(Read(Path("outside")), "keep");
    EXPECT_EQ(Read(Path("pub/login.htm")), BuildHtmlPage(m_doc, HtmlPageForm::File));
    EXPECT_EQ(Read(Path("pub/Zarnith.class")), Read(Path("bin/Zarnith.class")));
}

TEST_F(PublishTest, FilesOfOneNameAreRefusedBeforeAnythingIsWritten)
{
    ASSERT_TRUE(QDir().mkpath(Path("other")) && Write(Path("other/ok.au"), SunAudio("other")));
    const struct
    {
        const char* name;
        std::function<void(Doc&)> change;
        const char* siteFile; // made in the site folder, when set
        QByteArray first;
        QByteArray second;
    } cases[] = {
        { "lock file named like the page",
            [](Doc& doc) {
                doc.htmlFilePath.clear();
                doc.lockFile = "C:\\site\\index.html";
            },
            nullptr, "index.html", "C:\\site\\index.html" },
        { "two sounds of one name", [this](Doc& doc) { doc.incorrectAudio = Bytes("other/ok.au"); },
            nullptr, Bytes("ok.au"), Bytes("other/ok.au") },
        { "site file named like the page", [](Doc&) {}, "login.htm", "/somewhere/else/login.htm",
            Bytes("site/login.htm") },
        { "site file named like the lock file", [](Doc&) {}, "locks.txt", "C:\\site\\locks.txt",
            Bytes("site/locks.txt") },
        { "site file named like the lock data", [](Doc& doc) { doc.boxKind = BoxKind::Modern; },
            "locks.json", "C:\\site\\locks.json", Bytes("site/locks.json") },
        { "site folder named like a sound", [](Doc&) {}, "ok.au/inside.html", Bytes("ok.au"),
            Bytes("site/ok.au/inside.html") },
    };
    for (const auto& c : cases) {
        Doc doc = m_doc;
        c.change(doc);
        QDir(Path("site")).removeRecursively();
        if (c.siteFile) {
            doc.siteFolder = Bytes("site");
            const QString file = Path("site/") + QLatin1String(c.siteFile);
            ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()) && Write(file, "site"));
        }
        m_project = SaveDoc(doc);
        const CliRun run = RunCli({ "publish", m_project, Path("pub") }, m_cli);
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_EQ(run.err, FormatResourceText(IDS_SAME_FILE_NAME, c.first, c.second) + "\n")
            << c.name;
        EXPECT_FALSE(QFile::exists(Path("pub"))) << c.name;
    }
}

TEST_F(PublishTest, SiteFolderFilesGoUnderTheirPathsAndWhatIsNotAFileStaysBehind)
{
    for (const char* file : { "about.html", "img/logo.png", "img/deep/.htaccess" })
        ASSERT_TRUE(QDir().mkpath(QFileInfo(Path("site/") + file).path())
            && Write(Path("site/") + file, file));
    ASSERT_TRUE(Write(Path("secret.txt"), "outside"));
    ASSERT_TRUE(QFile::link(Path("secret.txt"), Path("site/out.txt")));
    ASSERT_TRUE(QFile::link(Path("site/about.html"), Path("site/again.html")));
    ASSERT_EQ(mkfifo(QFile::encodeName(Path("site/pipe")).constData(), 0600), 0);
    m_doc.siteFolder = "site"; // beside the project file
    m_project = SaveDoc(m_doc);

    const CliRun run = RunCli({ "publish", m_project, Path("pub") }, m_cli);
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.err,
        FormatResourceText(IDS_SITE_LINK_NOT_FOLLOWED, Bytes("site/out.txt")) + '\n'
            + FormatResourceText(IDS_SITE_NOT_REGULAR, Bytes("site/pipe")) + '\n'
            + "warning: " + LoadResourceText(IDS_APPLET_LOCKS_PLAIN) + '\n');
    EXPECT_TRUE(run.out.endsWith("copied " + Bytes("site/about.html") + " -> "
        + Published("about.html") + "\ncopied " + Bytes("site/again.html") + " -> "
        + Published("again.html") + "\ncopied " + Bytes("site/img/deep/.htaccess") + " -> "
        + Published("img/deep/.htaccess") + "\ncopied " + Bytes("site/img/logo.png") + " -> "
        + Published("img/logo.png") + "\n"))
        << run.out.constData();
    EXPECT_EQ(Read(Path("pub/again.html")), "about.html");
    EXPECT_EQ(Read(Path("pub/img/deep/.htaccess")), "img/deep/.htaccess");
    EXPECT_FALSE(QFile::exists(Path("pub/out.txt")));
    EXPECT_FALSE(QFile::exists(Path("pub/pipe")));

    // Into the site folder, or a folder inside it, nothing is published.
    for (const char* inside : { "site", "site/img/new" }) {
        const CliRun refused = RunCli({ "publish", m_project, Path(inside) }, m_cli);
        EXPECT_EQ(refused.exitCode, 1) << inside;
        EXPECT_TRUE(refused.err.contains("lies inside it")) << refused.err.constData();
    }
    EXPECT_FALSE(QFile::exists(Path("site/index.html")));
    EXPECT_FALSE(QFile::exists(Path("site/img/new")));

    m_doc.siteFolder = "missing";
    m_project = SaveDoc(m_doc);
    const CliRun missing = RunCli({ "publish", m_project, Path("pub3") }, m_cli);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, FormatResourceText(IDS_SITE_FOLDER_MISSING, Bytes("missing")) + '\n');
    EXPECT_FALSE(QFile::exists(Path("pub3")));
}

TEST_F(PublishTest, MissingSourceStopsWithItsNameAndKeepsEarlierCopies)
{
    m_doc.htmlFilePath.clear();
    m_doc.readLocksFromFile = 0;
    m_doc.correctAudio = Bytes("gone.au");
    m_project = SaveDoc(m_doc);
    const CliRun run = RunCli({ "publish", m_project, Path("pub") }, m_cli);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "File  '" + Bytes("gone.au") + "' is missing!\n");
    EXPECT_EQ(Read(Path("pub/index.html")), BuildHtmlPage(m_doc, HtmlPageForm::File));
    EXPECT_TRUE(QFile::exists(Path("pub/Zarnith.class")));
    EXPECT_FALSE(QFile::exists(Path("pub/locks.txt")));
    EXPECT_FALSE(QFile::exists(Path("pub/no.au")));
}

TEST_F(PublishTest, FolderIsCreatedOneLevelOnly)
{
    const CliRun run = RunCli({ "publish", m_project, Path("a/b") }, m_cli);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, FormatResourceText(IDS_CREATE_DIRECTORY_FAILED, Bytes("a/b")) + "\n");
    EXPECT_FALSE(QFile::exists(Path("a")));
}

TEST_F(PublishTest, ModernAndBothKindsHoldNoLockInClear)
{
    m_doc.encrypt = 1; // the applet's records in the both kind are scrambled, never clear
    m_doc.locks = { Lock("zelda77", "vault/zelda-room.html") };
    m_doc.locks[0].password = "Xyzzy-42";
    m_doc.locks[0].target = "frameQ9";
    m_doc.correctEmail = "owner@example.com";
    m_project = SaveDoc(m_doc);

    const CliRun both = RunCli(
        { "publish", m_project, Path("pub"), "--box", "both", "--iterations", "100000" }, m_cli);
    ASSERT_EQ(both.exitCode, 0) << both.err.constData();
    EXPECT_EQ(both.err.count('\n'), 2);
    EXPECT_TRUE(both.err.contains("sends no e-mail"));
    EXPECT_TRUE(both.err.endsWith(LoadResourceText(IDS_APPLET_LOCKS_SCRAMBLED) + '\n'));
    EXPECT_EQ(both.out,
        "written " + Published("login.htm") + "\nwritten " + Published("locks.txt") + "\nwritten "
            + Published("locks.json") + "\nwritten " + Published("ok.wav") + "\nwritten "
            + Published("no.wav") + "\ncopied " + Bytes("bin/Zarnith.class") + " -> "
            + Published("Zarnith.class") + "\ncopied " + Bytes("ok.au") + " -> "
            + Published("ok.au") + "\ncopied " + Bytes("no.au") + " -> " + Published("no.au")
            + "\n");
    EXPECT_TRUE(Read(Path("pub/locks.json")).startsWith("{\"format\":\"zarnith-locks/2\""));
    EXPECT_TRUE(Read(Path("pub/login.htm")).contains("\"lockFile\":\"locks.json\""));
    EXPECT_EQ(Read(Path("pub/ok.wav")).left(4), "RIFF");

    const CliRun modern = RunCli(
        { "publish", m_project, Path("pub2"), "--box", "modern", "--iterations", "100000" }, m_cli);
    ASSERT_EQ(modern.exitCode, 0) << modern.err.constData();
    EXPECT_EQ(QDir(Path("pub2")).entryList(QDir::Files),
        (QStringList { "locks.json", "login.htm", "no.wav", "ok.wav" }));
    EXPECT_EQ(RunCli({ "resources", m_project, "--box", "modern" }).out,
        "C:\\site\\locks.json\n" + Bytes("ok.wav") + '\n' + Bytes("no.wav") + '\n');

    // Every output a visitor could read, the preview's inline locks included.
    QByteArrayList outputs { RunCli({ "locks", m_project, "--iterations", "100000" }).out };
    for (const char* kind : { "modern", "both" }) {
        for (const char* form : { "file", "preview", "segment" })
            outputs.append(RunCli(
                { "html", m_project, "--box", kind, "--form", form, "--iterations", "100000" })
                               .out);
    }
    for (const char* folder : { "pub", "pub2" }) {
        for (const QString& name : QDir(Path(folder)).entryList(QDir::Files))
            outputs.append(Read(Path(folder) + '/' + name));
    }
    EXPECT_TRUE(outputs[5].contains("\"format\":\"zarnith-locks/2\"")); // both, preview, inline
    for (const QByteArray& output : outputs) {
        ASSERT_FALSE(output.isEmpty());
        for (const char* clear :
            { "zelda77", "ZELDA77", "Xyzzy-42", "XYZZY-42", "vault/zelda", "frameQ9" })
            EXPECT_FALSE(output.contains(clear)) << clear << " in " << output.left(60).constData();
    }
}

} // namespace

TEST_F(OutputCommandsTest, OutputsWithTheAppletsLocksSayOnceThatTheyAreReadable)
{
    Doc doc;
    doc.locks.push_back(Lock("ann", "a.html"));
    doc.locks[0].password = "long enough";
    const QString plain = SaveDoc(doc, "plain.loc");
    doc.encrypt = 1;
    const QString scrambled = SaveDoc(doc, "scrambled.loc");
    const QByteArray plainLine = "warning: " + LoadResourceText(IDS_APPLET_LOCKS_PLAIN) + "\n";
    const QByteArray scrambledLine
        = "warning: " + LoadResourceText(IDS_APPLET_LOCKS_SCRAMBLED) + "\n";
    struct Case
    {
        QStringList arguments;
        QByteArray err;
    };
    const Case cases[] = {
        { { "html", plain }, plainLine },
        { { "html", scrambled, "--box", "both", "--iterations", "100000" }, scrambledLine },
        { { "html", plain, "--box", "modern", "--iterations", "100000" }, "" },
        { { "params", scrambled }, scrambledLine },
        { { "lockfile", plain }, plainLine },
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(run.err, c.err) << qPrintable(c.arguments.join(QLatin1Char(' ')));
    }
}
