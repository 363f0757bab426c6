#include "generate/HtmlPage.h"
#include "generate/LockInputFile.h"
#include "publish/BrowserLauncher.h"
#include "publish/DocOutputs.h"
#include "publish/ExternalBrowser.h"
#include "publish/PreviewServer.h"
#include "support/OutputsTestSupport.h"
#include "support/RecordingLauncher.h"
#include "util/Paths.h"
#include "util/StringIds.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtCore/qtestsupport_core.h>
#include <QUrl>

namespace {

// The body a GET of url answers with.
QByteArray Fetch(const QUrl& url)
{
    QNetworkAccessManager network;
    std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(url)));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(reply->error(), QNetworkReply::NoError) << qPrintable(url.toString());
    return reply->readAll();
}

class BrowserPreviewTest : public OutputsTest
{
protected:
    // CLASSPATH as the program keeps it while it runs, for a user whose own is startup.
    void StartWithClassPath(const QByteArray& startup)
    {
        m_browser.userClassPath = startup;
        SetClassPath(ClassPathForProgram(ProgramDirectory(), startup));
    }

    TestPrompts m_prompts;
    ExternalBrowser m_browser;
    QWidget m_owner;
    DocOutputs m_outputs { m_doc, m_project, &m_owner };
};

TEST_F(BrowserPreviewTest, DefaultBrowserGetsThePageItsFilesAndTheUsersOwnClassPath)
{
    m_doc.correctAudio = MakeSunAudio(QStringLiteral("yes.au"));
    m_doc.readLocksFromFile = 1;
    m_doc.lockFile = Bytes("locks.dat");
    m_doc.locks.resize(1);
    m_doc.locks[0].userId = "ann";
    RecordingLauncher launcher;

    StartWithClassPath("/opt/user/classes");
    m_outputs.BrowserPreview(m_browser);
    EXPECT_EQ(CurrentClassPath(), ClassPathForProgram(ProgramDirectory(), "/opt/user/classes"));
    StartWithClassPath({});
    m_outputs.BrowserPreview(m_browser);
    EXPECT_EQ(CurrentClassPath(), ProgramDirectory());

    // The browser gets the page from the preview server, as a visitor gets it from a site.
    const QString page = PreviewPath("~Zarnith.html");
    ASSERT_EQ(launcher.opened.size(), 2);
    EXPECT_EQ(launcher.opened[1], launcher.opened[0]);
    EXPECT_TRUE(launcher.opened[0].toString().startsWith(QLatin1String("http://127.0.0.1:")));
    EXPECT_EQ(launcher.opened[0].path(), QStringLiteral("/~Zarnith.html"));
    EXPECT_EQ(Fetch(launcher.opened[0]), BuildHtmlPage(m_doc, HtmlPageForm::Preview));
    EXPECT_EQ(launcher.classPaths, (QStringList { "/opt/user/classes", "(unset)" }));
    EXPECT_EQ(ReadBytes(page), BuildHtmlPage(m_doc, HtmlPageForm::Preview));
    // The project names the lock file; the preview writes it only into its own folder.
    EXPECT_FALSE(QFile::exists(Path("locks.dat")));
    EXPECT_EQ(ReadBytes(PreviewPath("locks.dat")), BuildLockInputFile(m_doc));
    EXPECT_EQ(ReadBytes(PreviewPath("yes.au")), ReadBytes(Path("yes.au")));
    EXPECT_EQ(ReadBytes(PreviewPath("Zarnith.class")), Applet());

    // Without the server's plugin the browser gets the page's own file.
    const QString serverPlugin = PreviewServerPluginName();
    StopPreviewServer();
    SetPreviewServerPluginName(QStringLiteral("zarnith_no_such_plugin"));
    m_outputs.BrowserPreview(m_browser);
    SetPreviewServerPluginName(serverPlugin);
    StopPreviewServer();
    EXPECT_EQ(launcher.opened.value(2), QUrl::fromLocalFile(page));

    // The modern box's page loads its locks, made with the preview's low count, from the script
    // beside it, and plays wave files.
    m_doc.boxKind = BoxKind::Modern;
    m_outputs.BrowserPreview(m_browser);
    const QByteArray modern = ReadBytes(page);
    EXPECT_FALSE(modern.contains("<APPLET"));
    EXPECT_TRUE(modern.contains("class=\"zarnith-locks\"></script>\r\n"
                                "<script src=\"~Zarnith-locks.js\"></script>"));
    EXPECT_TRUE(ReadBytes(PreviewPath("~Zarnith-locks.js")).contains("\\\"iterations\\\":1000,"));
    EXPECT_TRUE(ReadBytes(PreviewPath("yes.wav")).startsWith("RIFF"));
    m_doc.boxKind = BoxKind::Classic;

    // A name that names no file of the folder stops the preview; one that would replace the
    // page is refused before anything is written.
    m_doc.lockFile = Bytes("..");
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    m_outputs.BrowserPreview(m_browser);
    m_doc.lockFile = "..\\~Zarnith.html";
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    m_outputs.BrowserPreview(m_browser);
    EXPECT_EQ(m_prompts.MessageTexts(),
        (QStringList { Message(IDS_BAD_PATH, Bytes("..")),
            Message(IDS_SAME_FILE_NAME, PreviewPageName(), m_doc.lockFile) }));
    EXPECT_EQ(launcher.opened.size(), 4);
}

TEST_F(BrowserPreviewTest, BrowserThatDoesNotStartIsReportedAndClassPathStillRestored)
{
    // A flag other than 1 keeps the locks in the page, as the page generator reads it.
    m_doc.readLocksFromFile = 2;
    m_doc.lockFile = Bytes("odd.dat");
    m_doc.locks.resize(1);
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    RecordingLauncher launcher;
    launcher.succeed = false;
    StartWithClassPath("/opt/user/classes");

    m_outputs.BrowserPreview(m_browser);

    EXPECT_EQ(m_prompts.MessageTexts(), QStringList { Message(IDS_BROWSER_FAILED) });
    EXPECT_EQ(m_prompts.Asked().back().icon, PromptIcon::Stop);
    EXPECT_EQ(CurrentClassPath(), ClassPathForProgram(ProgramDirectory(), "/opt/user/classes"));
    EXPECT_FALSE(QFileInfo::exists(Path("odd.dat")));
    EXPECT_FALSE(QFileInfo::exists(PreviewPath("odd.dat")));
}

TEST_F(BrowserPreviewTest, ResourcesThatCannotBeCopiedStartNoBrowserAndLeaveClassPath)
{
    m_doc.incorrectAudio = Bytes("gone.au");
    m_prompts.AnswerMessage(PromptAnswer::Retry);
    m_prompts.AnswerMessage(PromptAnswer::Cancel);
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    RecordingLauncher launcher;
    SetClassPath("/as/it/was");

    m_outputs.BrowserPreview(m_browser);

    const QString missing = Message(IDS_FILE_MISSING, Bytes("gone.au"));
    EXPECT_EQ(m_prompts.MessageTexts(),
        (QStringList { missing, missing, Message(IDS_PREVIEW_COPY_FAILED) }));
    EXPECT_EQ(m_prompts.Asked()[0].buttons, PromptButtons::RetryCancel);
    EXPECT_EQ(m_prompts.Asked()[2].icon, PromptIcon::Stop);
    EXPECT_TRUE(launcher.opened.isEmpty());
    EXPECT_EQ(CurrentClassPath(), "/as/it/was");
}

TEST_F(BrowserPreviewTest, UnchangedResourcesAreNotCopiedAgainButATouchedOneIs)
{
    m_doc.correctAudio = MakeFile(QStringLiteral("yes.au"));
    RecordingLauncher launcher;
    m_outputs.BrowserPreview(m_browser);
    // A copy made again would overwrite this mark.
    ASSERT_TRUE(WriteBytes(PreviewPath("yes.au"), "copy left alone"));

    m_outputs.BrowserPreview(m_browser);
    EXPECT_EQ(ReadBytes(PreviewPath("yes.au")), "copy left alone");

    const auto touch = [this](const QString& name) {
        QFile source(Path(name));
        ASSERT_TRUE(source.open(QIODevice::Append));
        ASSERT_TRUE(source.setFileTime(
            QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime));
    };
    touch(QStringLiteral("yes.au"));
    m_outputs.BrowserPreview(m_browser);
    EXPECT_EQ(ReadBytes(PreviewPath("yes.au")), ReadBytes(Path("yes.au")));

    // So is the modern box's wave file, converted from its Sun audio file.
    m_doc.boxKind = BoxKind::Both;
    m_doc.correctAudio = MakeSunAudio(QStringLiteral("no.au"));
    m_outputs.BrowserPreview(m_browser);
    ASSERT_TRUE(WriteBytes(PreviewPath("no.wav"), "conversion left alone"));
    m_outputs.BrowserPreview(m_browser);
    EXPECT_EQ(ReadBytes(PreviewPath("no.wav")), "conversion left alone");
    touch(QStringLiteral("no.au"));
    m_outputs.BrowserPreview(m_browser);
    EXPECT_TRUE(ReadBytes(PreviewPath("no.wav")).startsWith("RIFF"));
    EXPECT_TRUE(m_prompts.Asked().empty());
}

TEST_F(BrowserPreviewTest, ConfiguredBrowserGetsTheBareNameLocallyElseTheServerAddress)
{
    // A stand-in browser that writes down where it was started, its CLASSPATH and arguments.
    const QString script = Path("fake browser.sh");
    ASSERT_TRUE(WriteBytes(script,
        "#!/bin/sh\n"
        "{ echo \"dir=$(pwd -P)\"; echo \"classpath=${CLASSPATH-(unset)}\"\n"
        "  for argument in \"$@\"; do echo \"arg=$argument\"; done; } > \"$0.part\"\n"
        "mv \"$0.part\" \"$0.log\"\n"));
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    m_browser.command = '"' + QFile::encodeName(script) + "\" -private";
    const auto recorded = [&] {
        const QString log = script + ".log";
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(log); }, 10000));
        QStringList lines = QString::fromLocal8Bit(ReadBytes(log)).split('\n', Qt::SkipEmptyParts);
        QFile::remove(log);
        return lines;
    };

    m_browser.local = 1;
    StartWithClassPath("/opt/user/classes");
    m_outputs.BrowserPreview(m_browser);
    EXPECT_EQ(recorded(),
        (QStringList { "dir=" + QFileInfo(QFile::decodeName(m_preview)).canonicalFilePath(),
            "classpath=/opt/user/classes", "arg=-private", "arg=~Zarnith.html" }));

    m_browser.local = 0;
    StartWithClassPath({});
    m_outputs.BrowserPreview(m_browser);
    const QString url = PreviewAddress(QStringLiteral("~Zarnith.html")).toString();
    EXPECT_TRUE(url.startsWith(QLatin1String("http://127.0.0.1:")));
    EXPECT_EQ(recorded(),
        (QStringList { "dir=" + QDir::current().canonicalPath(), "classpath=(unset)",
            "arg=-private", "arg=" + url }));
    EXPECT_TRUE(m_prompts.Asked().empty());
}

} // namespace
