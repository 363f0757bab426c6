#include "model/BoxKind.h"
#include "model/Doc.h"
#include "model/ProjectFile.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(ZARNITH_BUILD_DIR "/zarnith-cli"), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        process.readAllStandardOutput(), process.readAllStandardError() };
}

// Runs script under sh with $CLI naming the program and input on its standard input.
CliRun RunShell(const QString& script, const QByteArray& input = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CLI"), QStringLiteral(ZARNITH_BUILD_DIR "/zarnith-cli"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("/bin/sh"), { QStringLiteral("-c"), script });
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        process.readAllStandardOutput(), process.readAllStandardError() };
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ProjectBytes(Doc& doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteProject(doc, buffer));
    return buffer.data();
}

// The names of the stored fields, as the project document declares them.
const char* const FieldNames[] = { "htmlFilePath", "width", "height", "correctEmail",
    "correctAudio", "incorrectMessage", "incorrectAudio", "failMessage", "failEmail", "failUrl",
    "ignoreCase", "encrypt", "userLabel", "passwordLabel", "loginLabel", "mailHost",
    "initialMessage", "retries", "fontFamily", "fontSize", "fontBold", "fontItalic", "spacing",
    "margin", "borderThickness", "borderStyle", "borderColor", "backgroundColor", "loadingMessage",
    "lockFile", "reloadInterval", "readLocksFromFile" };

class ProjectCommands : public testing::Test
{
protected:
    QString PathOf(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ProjectCommands, NewWritesTheDefaultProject)
{
    const CliRun run = RunCli({ QStringLiteral("new"), PathOf("x.loc") });
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray bytes = ReadFile(PathOf("x.loc"));
    EXPECT_EQ(bytes.size(), 282);
    Doc doc;
    EXPECT_EQ(bytes, ProjectBytes(doc));
}

TEST_F(ProjectCommands, DumpShowsEveryDefaultAndBuildWritesTheSameBytes)
{
    RunCli({ QStringLiteral("new"), PathOf("x.loc") });
    const CliRun dump = RunCli({ QStringLiteral("dump"), PathOf("x.loc") });
    ASSERT_EQ(dump.exitCode, 0) << dump.err.constData();
    const QJsonObject object = QJsonDocument::fromJson(dump.out).object();
    EXPECT_EQ(object.size(), std::size(FieldNames) + 1);
    for (const char* name : FieldNames)
        EXPECT_TRUE(object.contains(QLatin1String(name))) << name;
    EXPECT_EQ(object[QLatin1String("width")].toInt(), 400);
    EXPECT_EQ(object[QLatin1String("borderColor")].toInteger(), 0xC0DCC0);
    EXPECT_EQ(object[QLatin1String("incorrectMessage")].toString(),
        QStringLiteral("The user ID or password\\nentered is incorrect."));
    EXPECT_EQ(object[QLatin1String("loadingMessage")].toString(),
        QStringLiteral("Please wait while locks load..."));
    EXPECT_TRUE(object[QLatin1String("locks")].toArray().isEmpty());
    EXPECT_FALSE(object.contains(QLatin1String("publishDirectory")));

    WriteFile(PathOf("x.json"), dump.out);
    const CliRun build = RunCli({ QStringLiteral("build"), PathOf("x.json"), PathOf("y.loc") });
    EXPECT_EQ(build.exitCode, 0) << build.err.constData();
    EXPECT_EQ(ReadFile(PathOf("y.loc")), ReadFile(PathOf("x.loc")));
}

TEST_F(ProjectCommands, ChangedProjectsSurviveDumpAndBuild)
{
    Doc doc;
    doc.htmlFilePath = "/srv/www/l\xc3\xb6gin.html";
    // A number the pages take at its edge, and one they take any value of.
    doc.width = 5000;
    doc.fontItalic = -3;
    doc.borderColor = 0xFFFFFFFF;
    doc.failMessage = QByteArray(300, 'f') + "\\n\"quoted\"\t";
    doc.locks.push_back({ "ann", "", "a.html", "" });
    doc.locks.push_back({ "b\xc3\xa9", "p w", "c:\\x.html|y", "_top" });
    // Text from a Windows code page is not UTF-8; it comes back byte for byte all the same.
    doc.userLabel = "Benutzer\xfc:";
    doc.locks.push_back({ "caf\xe9", "\x80\xff", "\xef\xbb\xbf.html", "" });
    WriteFile(PathOf("a.loc"), ProjectBytes(doc));

    const CliRun dump = RunCli({ QStringLiteral("dump"), PathOf("a.loc") });
    ASSERT_EQ(dump.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(dump.out).object();
    EXPECT_EQ(json[QLatin1String("userLabel")].toObject()[QLatin1String("bytes")].toString(),
        QLatin1String(QByteArray("Benutzer\xfc:").toBase64()));
    EXPECT_EQ(json[QLatin1String("locks")][2][QLatin1String("userId")].toObject().size(), 1);
    EXPECT_EQ(json[QLatin1String("locks")][1][QLatin1String("userId")].toString(),
        QStringLiteral("b\u00e9"));
    WriteFile(PathOf("a.json"), dump.out);
    ASSERT_EQ(RunCli({ QStringLiteral("build"), PathOf("a.json"), PathOf("b.loc") }).exitCode, 0);
    EXPECT_EQ(ReadFile(PathOf("b.loc")), ReadFile(PathOf("a.loc")));
}

TEST_F(ProjectCommands, BoxSettingsTravelThroughNewDumpAndBuild)
{
    for (const char* kind : { "modern", "both", "classic" }) {
        const CliRun made = RunCli({ QStringLiteral("new"), QStringLiteral("--box"),
            QLatin1String(kind), PathOf("k.loc") });
        ASSERT_EQ(made.exitCode, 0) << made.err.constData();
        Doc expected;
        expected.boxKind = *ParseBoxKind(kind);
        EXPECT_EQ(ReadFile(PathOf("k.loc")), ProjectBytes(expected)) << kind;
        const QJsonObject dumped
            = QJsonDocument::fromJson(RunCli({ QStringLiteral("dump"), PathOf("k.loc") }).out)
                  .object();
        // A setting that holds its default is left out, as the file leaves it out.
        EXPECT_EQ(dumped.value(QLatin1String("boxKind")).toString(),
            expected.boxKind == BoxKind::Classic ? QString() : QLatin1String(kind));
    }
    EXPECT_EQ(RunCli({ QStringLiteral("new"), QStringLiteral("--box"), QStringLiteral("java"),
                         PathOf("j.loc") })
                  .exitCode,
        2);

    WriteFile(PathOf("s.json"),
        R"({"boxKind": "both", "iterations": 250000, "siteFolder": "/srv/site"})");
    ASSERT_EQ(RunCli({ QStringLiteral("build"), PathOf("s.json"), PathOf("s.loc") }).exitCode, 0);
    Doc expected;
    expected.boxKind = BoxKind::Both;
    expected.iterations = 250000;
    expected.siteFolder = "/srv/site";
    EXPECT_EQ(ReadFile(PathOf("s.loc")), ProjectBytes(expected));
    const QJsonObject dumped
        = QJsonDocument::fromJson(RunCli({ QStringLiteral("dump"), PathOf("s.loc") }).out).object();
    EXPECT_EQ(dumped.value(QLatin1String("iterations")).toInt(), 250000);
    EXPECT_EQ(dumped.value(QLatin1String("siteFolder")).toString(), QStringLiteral("/srv/site"));
}

TEST_F(ProjectCommands, BuildTakesDefaultsAndRejectsBadKeys)
{
    WriteFile(
        PathOf("partial.json"), R"({"width": 640, "locks": [{"userId": "ann", "url": "a.html"}]})");
    ASSERT_EQ(
        RunCli({ QStringLiteral("build"), PathOf("partial.json"), PathOf("p.loc") }).exitCode, 0);
    Doc expected;
    expected.width = 640;
    expected.locks.push_back({ "ann", "", "a.html", "" });
    EXPECT_EQ(ReadFile(PathOf("p.loc")), ProjectBytes(expected));

    const std::pair<const char*, const char*> bad[] = {
        { R"({"colour": 1})", "\"colour\"" },
        { R"({"width": "wide"})", "\"width\"" },
        { R"({"width": 1.5})", "\"width\"" },
        { R"({"retries": 4294967296})", "\"retries\"" },
        // The numbers the pages refuse, with the pages' ranges.
        { R"({"width": -3})", "\"width\" must be a whole number from 1 to 5000" },
        { R"({"retries": 11})", "\"retries\" must be a whole number from 1 to 10" },
        { R"({"fontSize": 256})", "\"fontSize\" must be a whole number from 0 to 255" },
        { R"({"borderStyle": -1})", "\"borderStyle\" must be a whole number from 0 to 4" },
        { R"({"borderThickness": 0})", "\"borderThickness\" must be a whole number from 1 to 50" },
        { R"({"spacing": 21})", "\"spacing\" must be a whole number from 0 to 20" },
        { R"({"reloadInterval": 5001})",
            "\"reloadInterval\" must be a whole number from 0 to 5000" },
        { R"({"borderColor": -1})", "\"borderColor\"" },
        { R"({"userLabel": 5})", "\"userLabel\"" },
        { R"({"locks": {}})", "\"locks\"" },
        { R"({"locks": [{"user": "x"}]})", "\"locks[0].user\"" },
        { R"({"locks": [{}, {"url": 1}]})", "\"locks[1].url\"" },
        { R"({"userLabel": {"bytes": "%%"}})", "\"userLabel\"" },
        { R"({"userLabel": {"bytes": "QQ==", "more": 1}})", "\"userLabel\"" },
        { R"({"locks": [{"userId": "a", "url": "u"}, {"userId": "b", "url": "u\r"}]})",
            "Lock 2 (\"b\") cannot be read by the login box: its URL" },
        { R"([1])", "object" },
        { R"({"width": )", "JSON" },
        { R"({"boxKind": "java"})", "\"boxKind\"" },
        { R"({"boxKind": 1})", "\"boxKind\"" },
        { R"({"iterations": 99999})", "\"iterations\"" },
        { R"({"iterations": 10000001})", "\"iterations\"" },
        { R"({"siteFolder": 3})", "\"siteFolder\"" },
        { R"({"areas": {}})", "\"areas\"" },
        { R"({"areas": [{"name": "a", "page": []}]})", "\"areas[0].page\"" },
        { R"({"areas": [{"name": "a", "key": "AAAA"}]})", "\"areas[0].key\"" },
        { R"({"areas": [{"name": "a", "members": "AAAA"}]})", "\"areas[0].members\"" },
        { R"({"areas": [{"name": "a", "pages": ["../x"]}]})", "area \"a\": \"../x\"" },
        { R"({"areas": [{"name": "a"}, {"name": "a"}]})", "two areas are called \"a\"" },
        { R"({"areas": [{"name": ""}]})", "needs a name" },
        { R"({"areas": [{"name": "a"}], "locks": [{"userId": "u", "url": "u"},
            {"userId": "v", "url": "v", "areas": ["a", "b"]}]})",
            "lock 2 opens the area \"b\"" },
        { R"({"locks": [{"userId": "u", "url": "u", "areas": "a"}]})", "\"locks[0].areas\"" },
        { R"({"rememberDays": 366})", "\"rememberDays\"" },
    };
    for (const auto& [json, named] : bad) {
        WriteFile(PathOf("bad.json"), json);
        const CliRun run
            = RunCli({ QStringLiteral("build"), PathOf("bad.json"), PathOf("bad.loc") });
        EXPECT_EQ(run.exitCode, 1) << json;
        EXPECT_TRUE(run.err.contains(named)) << json << " -> " << run.err.constData();
        EXPECT_EQ(run.err.count('\n'), 1) << json;
        EXPECT_FALSE(QFile::exists(PathOf("bad.loc"))) << json;
    }
}

// The JSON carries the area keys and what notices a change of members, so that a project edited
// as JSON keeps its members' logins exactly as the window would.
TEST_F(ProjectCommands, AreaKeysSurviveJsonAndChangeOnlyWhenAMemberLosesAccess)
{
    auto keys = [&](const char* json) {
        WriteFile(PathOf("m.json"), json);
        const CliRun build = RunCli({ QStringLiteral("build"), PathOf("m.json"), PathOf("m.loc") });
        EXPECT_EQ(build.exitCode, 0) << build.err.constData();
        const CliRun dump = RunCli({ QStringLiteral("dump"), PathOf("m.loc") });
        // dump then build gives back the same project, keys included.
        WriteFile(PathOf("again.json"), dump.out);
        RunCli({ QStringLiteral("build"), PathOf("again.json"), PathOf("again.loc") });
        EXPECT_EQ(ReadFile(PathOf("again.loc")), ReadFile(PathOf("m.loc")));
        return QJsonDocument::fromJson(dump.out).object();
    };
    const QJsonObject first = keys(R"({"rememberDays": 7, "areas": [
        {"name": "staff", "pages": ["staff/**"]}, {"name": "club", "pages": ["club/*"]}],
        "locks": [{"userId": "ann", "password": "a", "url": "a.html"},
                  {"userId": "bob", "password": "b", "url": "b.html", "areas": ["club"]},
                  {"userId": "cy", "password": "c", "url": "c.html", "areas": []}]})");
    const QJsonArray areas = first[QLatin1String("areas")].toArray();
    ASSERT_EQ(areas.size(), 2);
    EXPECT_EQ(first[QLatin1String("rememberDays")].toInt(), 7);
    EXPECT_EQ(first[QLatin1String("locks")][1][QLatin1String("areas")].toArray(),
        QJsonArray({ QStringLiteral("club") }));
    EXPECT_TRUE(first[QLatin1String("locks")][2][QLatin1String("areas")].toArray().isEmpty());
    EXPECT_FALSE(first[QLatin1String("locks")][0].toObject().contains(QLatin1String("areas")));
    for (const QJsonValue area : areas) {
        EXPECT_EQ(
            QByteArray::fromBase64(area[QLatin1String("key")].toString().toLatin1()).size(), 32);
        EXPECT_FALSE(area[QLatin1String("members")].toString().isEmpty());
    }

    // bob's new password gives club a new key; staff keeps its own.
    QByteArray changed = QJsonDocument(first).toJson();
    changed.replace(R"("password": "b")", R"("password": "b2")");
    WriteFile(PathOf("c.json"), changed);
    ASSERT_EQ(RunCli({ QStringLiteral("build"), PathOf("c.json"), PathOf("m.loc") }).exitCode, 0);
    const QJsonArray after
        = QJsonDocument::fromJson(RunCli({ QStringLiteral("dump"), PathOf("m.loc") }).out)
              .object()[QLatin1String("areas")]
              .toArray();
    EXPECT_EQ(after[0][QLatin1String("key")], areas[0][QLatin1String("key")]);
    EXPECT_NE(after[1][QLatin1String("key")], areas[1][QLatin1String("key")]);
}

TEST_F(ProjectCommands, FailuresPrintTheProgramsMessage)
{
    WriteFile(PathOf("cut.loc"),
        ReadFile(PathOf("none"))
            + QByteArray("\x04"
                         "1.02\x02"
                         "29\x00",
                9));
    const CliRun cut = RunCli({ QStringLiteral("dump"), PathOf("cut.loc") });
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.err, "Unexpected file format.\n");
    EXPECT_TRUE(cut.out.isEmpty());

    const CliRun missing = RunCli({ QStringLiteral("dump"), PathOf("missing.loc") });
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QFile::encodeName(PathOf("missing.loc")) + " was not found.\n");

    const CliRun denied = RunCli({ QStringLiteral("new"), m_dir.path() });
    EXPECT_EQ(denied.exitCode, 1);
    EXPECT_EQ(denied.err, "Access to " + QFile::encodeName(m_dir.path()) + " was denied.\n");

    const CliRun empty = RunCli({ QStringLiteral("dump"), QString() });
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, "zarnith-cli: an empty argument names no file\n");

    // A FIFO nobody writes to reads as empty instead of hanging; a device is no project.
    ASSERT_EQ(mkfifo(QFile::encodeName(PathOf("fifo")).constData(), 0600), 0);
    EXPECT_EQ(RunCli({ QStringLiteral("dump"), PathOf("fifo") }).err, "Unexpected file format.\n");
    EXPECT_EQ(RunCli({ QStringLiteral("dump"), QStringLiteral("/dev/zero") }).err,
        "/dev/zero is not a regular file and cannot be opened as a project.\n");

    // A file size limit is an error, not the end of the program.
    const CliRun limited
        = RunShell(QStringLiteral("ulimit -f 0; exec \"$CLI\" new ") + PathOf("big.loc"));
    EXPECT_EQ(limited.exitCode, 1);
    EXPECT_EQ(limited.err, "Failed to save document.\n");

    // A full disk is named as such; it takes a small file system of the test's own.
    const CliRun full = RunShell(QStringLiteral(
        "unshare -rm sh -c 'd=$(mktemp -d) && mount -t tmpfs -o size=4k tmpfs \"$d\" "
        "&& head -c 4096 /dev/zero > \"$d/fill\"; exec \"$CLI\" new \"$d/a.loc\"' 2>&1 "
        "| sed \"s|/.*/a.loc|a.loc|\""));
    if (full.out.contains("unshare") || full.out.contains("mount"))
        GTEST_SKIP() << "no file system of its own here: " << full.out.constData();
    EXPECT_EQ(full.out, "Disk full while accessing a.loc.\n");
}

TEST_F(ProjectCommands, StandardInputAndPipesAreReadToTheirEnd)
{
    Doc doc;
    doc.width = 321;
    doc.locks.push_back({ "ann", "", "a.html", "" });
    const QByteArray bytes = ProjectBytes(doc);
    WriteFile(PathOf("a.loc"), bytes);
    const CliRun fromStdin = RunShell(QStringLiteral("exec \"$CLI\" dump -"), bytes);
    EXPECT_EQ(fromStdin.exitCode, 0) << fromStdin.err.constData();
    EXPECT_EQ(fromStdin.out, RunCli({ QStringLiteral("dump"), PathOf("a.loc") }).out);
    const CliRun fromPipe = RunShell(
        QStringLiteral("cat ") + PathOf("a.loc") + QStringLiteral(" | \"$CLI\" dump /dev/stdin"));
    EXPECT_EQ(fromPipe.out, fromStdin.out);
    const CliRun cut = RunShell(QStringLiteral("exec \"$CLI\" dump -"), bytes.chopped(1));
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.err, "Unexpected file format.\n");

    RunShell(QStringLiteral("exec \"$CLI\" dump - | \"$CLI\" build - ") + PathOf("b.loc"), bytes);
    EXPECT_EQ(ReadFile(PathOf("b.loc")), bytes);
}

TEST_F(ProjectCommands, LocksSurviveExportAndImportAndARefusedFileChangesNothing)
{
    Doc doc;
    doc.locks.push_back({ " ann ", "", "a.html|x", "" });
    doc.locks.push_back({ "b\xc3\xa9", "p,w \"q\"", "http://b/?a=1,2", "_top" });
    doc.locks.push_back({ "=1+1", "'", "\"", "frame 1" });
    // Windows code-page text is written as the characters the window shows, in UTF-8.
    doc.locks.push_back({ "caf\xe9", "\x80", "c.html", "" });
    WriteFile(PathOf("a.loc"), ProjectBytes(doc));
    const CliRun exported = RunCli(
        { QStringLiteral("locks-export"), PathOf("a.loc"), QStringLiteral("-o"), PathOf("a.csv") });
    ASSERT_EQ(exported.exitCode, 0) << exported.err.constData();

    RunCli({ QStringLiteral("new"), PathOf("b.loc") });
    const CliRun imported = RunCli({ QStringLiteral("locks-import"), PathOf("b.loc"),
        PathOf("a.csv"), QStringLiteral("--replace"), QStringLiteral("-o"), PathOf("c.loc") });
    ASSERT_EQ(imported.exitCode, 0) << imported.err.constData();
    EXPECT_EQ(imported.err, "Imported: 4 added, 0 updated.\n");
    doc.locks[3] = { "caf\xc3\xa9", "\xe2\x82\xac", "c.html", "" };
    Doc back;
    ASSERT_TRUE(LoadProject(back, PathOf("c.loc")).ok);
    ASSERT_EQ(back.locks.size(), doc.locks.size());
    for (std::size_t i = 0; i < doc.locks.size(); ++i)
        EXPECT_FALSE(back.locks[i].DiffersFrom(doc.locks[i])) << i;

    // One bad row refuses the file, names its line and leaves the project as it was.
    const QByteArray before = ReadFile(PathOf("b.loc"));
    WriteFile(PathOf("bad.csv"), "userId,url\r\nnew,http://n/\r\nx|y,http://x/\r\n");
    const CliRun refused = RunCli({ QStringLiteral("locks-import"), PathOf("b.loc"),
        PathOf("bad.csv"), QStringLiteral("--generate-passwords") });
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.endsWith("bad.csv: Line 3: The user ID cannot contain \"|\" or a "
                                     "control character such as a tab or a line break.\n"))
        << refused.err.constData();
    EXPECT_EQ(ReadFile(PathOf("b.loc")), before);

    WriteFile(PathOf("new.csv"), "userId,url\nnew,http://n/\n");
    const CliRun generated = RunCli({ QStringLiteral("locks-import"), PathOf("b.loc"),
        PathOf("new.csv"), QStringLiteral("--generate-passwords") });
    EXPECT_EQ(generated.exitCode, 0) << generated.err.constData();
    ASSERT_TRUE(LoadProject(back, PathOf("b.loc")).ok);
    ASSERT_EQ(back.locks.size(), 1u);
    EXPECT_EQ(back.locks[0].password.size(), 12);
}

TEST(CliUsage, WrongUsageExitsWithTwo)
{
    for (const QStringList& arguments : { QStringList {},
             QStringList { QStringLiteral("frobnicate") }, QStringList { QStringLiteral("new") },
             QStringList { QStringLiteral("build"), QStringLiteral("a") },
             QStringList { QStringLiteral("scramble"), QStringLiteral("a"), QStringLiteral("b") },
             QStringList { QStringLiteral("locks-import"), QStringLiteral("a.loc") },
             // A project from standard input has no file to go back to without -o.
             QStringList {
                 QStringLiteral("locks-import"), QStringLiteral("-"), QStringLiteral("a.csv") },
             QStringList { QStringLiteral("locks-import"), QStringLiteral("a.loc"),
                 QStringLiteral("a.csv"), QStringLiteral("--replace"),
                 QStringLiteral("--replace") } }) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("usage"));
    }
    const CliRun help = RunCli({ QStringLiteral("--help") });
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : { "new", "dump", "build", "scramble", "unscramble" })
        EXPECT_TRUE(help.out.contains(QByteArray("  ") + command + ' ')) << command;
    const CliRun version = RunCli({ QStringLiteral("--version") });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.contains("1.02"));
}

TEST(CliScramble, ScrambleAndUnscrambleAreInverse)
{
    for (const QString& text :
        { QStringLiteral("ann| |a.html| "), QStringLiteral("say \"hi\"\tt\u00e9st"), QString() }) {
        const CliRun scrambled = RunCli({ QStringLiteral("scramble"), text });
        ASSERT_EQ(scrambled.exitCode, 0);
        const QByteArray plain = text.toUtf8();
        EXPECT_EQ(scrambled.out.size(), plain.size());
        if (!plain.isEmpty()) {
            EXPECT_NE(scrambled.out, plain);
        }
        const CliRun unscrambled
            = RunCli({ QStringLiteral("unscramble"), QString::fromUtf8(scrambled.out) });
        EXPECT_EQ(unscrambled.exitCode, 0);
        EXPECT_EQ(unscrambled.out, plain);
    }
    // The argument's bytes are taken as they are, UTF-8 or not.
    const CliRun latin1 = RunShell(QStringLiteral(
        "exec \"$CLI\" unscramble \"$(\"$CLI\" scramble \"$(printf 'caf\\351|x')\")\""));
    EXPECT_EQ(latin1.out, "caf\xe9|x");
}
