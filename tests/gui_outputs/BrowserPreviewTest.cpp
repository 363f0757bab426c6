#include "generate/HtmlPage.h"
#include "generate/LockInputFile.h"
#include "OutputsTestSupport.h"
#include "publish/BrowserLauncher.h"
#include "publish/DocOutputs.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QDateTime>
#include <QFileInfo>
#include <QtCore/qtestsupport_core.h>
#include <QUrl>

#include <optional>

namespace {

// Records what it was asked to start, and the class path a started browser would inherit.
class RecordingLauncher : public BrowserLauncher
{
public:
    RecordingLauncher()
        : m_previous(SetCurrentBrowserLauncher(this))
    {
    }
    ~RecordingLauncher() override { SetCurrentBrowserLauncher(m_previous); }

    bool OpenWithDesktop(const QUrl& url) override
    {
        opened.append(url);
        Record();
        return succeed;
    }

    bool StartProgram(const QString& program, const QStringList& arguments,
        const QString& workingDirectory) override
    {
        started.append(program + '|' + arguments.join('|') + '|' + workingDirectory);
        Record();
        return succeed;
    }

    bool succeed = true;
    QList<QUrl> opened;
    QStringList started;
    // The CLASSPATH at each start; nothing when it was not set.
    std::vector<std::optional<QByteArray>> classPaths;

private:
    void Record()
    {
        classPaths.push_back(qEnvironmentVariableIsSet("CLASSPATH")
                ? std::optional<QByteArray>(qgetenv("CLASSPATH"))
                : std::nullopt);
    }

    BrowserLauncher* m_previous;
};

class BrowserPreviewTest : public OutputsTest
{
protected:
    void SetUp() override
    {
        OutputsTest::SetUp();
        CurrentAppState().browserCommand.clear();
        CurrentAppState().browserLocal = 0;
    }

    // CLASSPATH as the program keeps it while it runs, for a user whose own is startup.
    void StartWithClassPath(const QByteArray& startup)
    {
        CurrentAppState().startupClassPath = startup;
        SetClassPath(ClassPathForProgram(ProgramDirectory(), startup));
    }

    QWidget m_owner;
    DocOutputs m_outputs { m_doc, &m_owner };
};

TEST_F(BrowserPreviewTest, DefaultBrowserGetsThePageAndTheUsersOwnClassPath)
{
    m_doc.correctAudio = MakeFile(QStringLiteral("yes.au"));
    HookedPrompts prompts;
    RecordingLauncher launcher;

    StartWithClassPath("/opt/user/classes");
    m_outputs.BrowserPreview();
    EXPECT_EQ(CurrentClassPath(), ClassPathForProgram(ProgramDirectory(), "/opt/user/classes"));

    StartWithClassPath({});
    m_outputs.BrowserPreview();
    EXPECT_EQ(CurrentClassPath(), ProgramDirectory());

    const QString page = PreviewPath("~Zarnith.html");
    EXPECT_EQ(
        launcher.opened, (QList<QUrl> { QUrl::fromLocalFile(page), QUrl::fromLocalFile(page) }));
    ASSERT_EQ(launcher.classPaths.size(), 2u);
    EXPECT_EQ(launcher.classPaths[0], std::optional<QByteArray>("/opt/user/classes"));
    EXPECT_EQ(launcher.classPaths[1], std::nullopt);
    EXPECT_EQ(ReadBytes(page), BuildHtmlPage(m_doc, HtmlPageForm::Preview));
    EXPECT_EQ(ReadBytes(PreviewPath("yes.au")), ReadBytes(Path("yes.au")));
    EXPECT_EQ(
        ReadBytes(PreviewPath("Zarnith.class")), ReadBytes(QFile::decodeName(AppletClassPath())));
    EXPECT_TRUE(prompts.Asked().empty());
}

TEST_F(BrowserPreviewTest, BrowserThatDoesNotStartIsReportedAndClassPathStillRestored)
{
    HookedPrompts prompts;
    prompts.AnswerMessage(PromptAnswer::Ok);
    RecordingLauncher launcher;
    launcher.succeed = false;
    StartWithClassPath("/opt/user/classes");

    m_outputs.BrowserPreview();

    EXPECT_EQ(launcher.opened.size(), 1);
    EXPECT_EQ(prompts.MessageTexts(),
        QStringList { QString::fromLocal8Bit(LoadResourceText(IDS_BROWSER_FAILED)) });
    EXPECT_EQ(prompts.Asked().back().icon, PromptIcon::Stop);
    EXPECT_EQ(CurrentClassPath(), ClassPathForProgram(ProgramDirectory(), "/opt/user/classes"));
}

TEST_F(BrowserPreviewTest, ResourcesThatCannotBeCopiedStartNoBrowserAndLeaveClassPath)
{
    m_doc.incorrectAudio = Bytes("gone.au");
    HookedPrompts prompts;
    prompts.AnswerMessage(PromptAnswer::Retry);
    prompts.AnswerMessage(PromptAnswer::Cancel);
    prompts.AnswerMessage(PromptAnswer::Ok);
    RecordingLauncher launcher;
    StartWithClassPath("/opt/user/classes");
    const QByteArray before = CurrentClassPath();

    m_outputs.BrowserPreview();

    const QString missing
        = QString::fromLocal8Bit(FormatResourceText(IDS_FILE_MISSING, Bytes("gone.au")));
    EXPECT_EQ(prompts.MessageTexts(),
        (QStringList {
            missing, missing, QString::fromLocal8Bit(LoadResourceText(IDS_PREVIEW_COPY_FAILED)) }));
    EXPECT_EQ(prompts.Asked()[0].buttons, PromptButtons::RetryCancel);
    EXPECT_EQ(prompts.Asked()[2].icon, PromptIcon::Stop);
    EXPECT_TRUE(launcher.opened.isEmpty());
    EXPECT_TRUE(launcher.started.isEmpty());
    EXPECT_EQ(CurrentClassPath(), before);
}

TEST_F(BrowserPreviewTest, LockFileIsWrittenWhereItIsNamedAndCopiedBesideThePage)
{
    m_doc.readLocksFromFile = 1;
    m_doc.lockFile = Bytes("locks.dat");
    m_doc.locks.resize(1);
    m_doc.locks[0].userId = "ann";
    HookedPrompts prompts;
    RecordingLauncher launcher;

    m_outputs.BrowserPreview();

    EXPECT_EQ(ReadBytes(Path("locks.dat")), BuildLockInputFile(m_doc));
    EXPECT_EQ(ReadBytes(PreviewPath("locks.dat")), BuildLockInputFile(m_doc));
    EXPECT_EQ(launcher.opened.size(), 1);
}

TEST_F(BrowserPreviewTest, UnchangedResourcesAreNotCopiedAgainButATouchedOneIs)
{
    m_doc.correctAudio = MakeFile(QStringLiteral("yes.au"));
    HookedPrompts prompts;
    RecordingLauncher launcher;
    m_outputs.BrowserPreview();
    // A copy made again would overwrite this mark.
    ASSERT_TRUE(WriteBytes(PreviewPath("yes.au"), "copy left alone"));

    m_outputs.BrowserPreview();
    EXPECT_EQ(ReadBytes(PreviewPath("yes.au")), "copy left alone");

    QFile source(Path("yes.au"));
    ASSERT_TRUE(source.open(QIODevice::Append));
    ASSERT_TRUE(source.setFileTime(
        QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime));
    source.close();
    m_outputs.BrowserPreview();
    EXPECT_EQ(ReadBytes(PreviewPath("yes.au")), ReadBytes(Path("yes.au")));
    EXPECT_EQ(launcher.opened.size(), 3);
}

// A stand-in browser that writes down where it was started, its arguments and its CLASSPATH.
class ExternalBrowserTest : public BrowserPreviewTest
{
protected:
    void SetUp() override
    {
        BrowserPreviewTest::SetUp();
        m_script = Path("fake browser.sh");
        ASSERT_TRUE(WriteBytes(m_script,
            "#!/bin/sh\n"
            "{\n"
            "  echo \"dir=$(pwd -P)\"\n"
            "  echo \"classpath=${CLASSPATH-(unset)}\"\n"
            "  for argument in \"$@\"; do echo \"arg=$argument\"; done\n"
            "} > \"$0.part\" && mv \"$0.part\" \"$0.log\"\n"));
        QFile::setPermissions(m_script, QFile::permissions(m_script) | QFileDevice::ExeOwner);
        CurrentAppState().browserCommand = '"' + QFile::encodeName(m_script) + "\" -private";
    }

    // What the browser wrote down, once it has.
    QStringList Recorded()
    {
        const QString log = m_script + ".log";
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(log); }, 10000));
        QStringList lines = QString::fromLocal8Bit(ReadBytes(log)).split('\n');
        lines.removeAll(QString());
        QFile::remove(log);
        return lines;
    }

    QString m_script;
};

TEST_F(ExternalBrowserTest, LocalModeGetsTheBareNameInThePreviewFolder)
{
    CurrentAppState().browserLocal = 1;
    StartWithClassPath("/opt/user/classes");
    HookedPrompts prompts;

    m_outputs.BrowserPreview();

    EXPECT_EQ(Recorded(),
        (QStringList { "dir=" + QFileInfo(QFile::decodeName(m_preview)).canonicalFilePath(),
            "classpath=/opt/user/classes", "arg=-private", "arg=~Zarnith.html" }));
    EXPECT_EQ(CurrentClassPath(), ClassPathForProgram(ProgramDirectory(), "/opt/user/classes"));
}

TEST_F(ExternalBrowserTest, OtherModeGetsTheFileUrlOfThePage)
{
    CurrentAppState().browserLocal = 0;
    StartWithClassPath({});
    HookedPrompts prompts;

    m_outputs.BrowserPreview();

    const QString url = QUrl::fromLocalFile(PreviewPath("~Zarnith.html")).toString();
    EXPECT_TRUE(url.startsWith(QLatin1String("file:///")));
    EXPECT_EQ(Recorded(),
        (QStringList { "dir=" + QDir::current().canonicalPath(), "classpath=(unset)",
            "arg=-private", "arg=" + url }));
    EXPECT_EQ(CurrentClassPath(), ProgramDirectory());
}

TEST_F(ExternalBrowserTest, BrowserThatCannotBeFoundIsReported)
{
    CurrentAppState().browserCommand = QFile::encodeName(Path("no such browser"));
    HookedPrompts prompts;
    prompts.AnswerMessage(PromptAnswer::Ok);

    m_outputs.BrowserPreview();

    EXPECT_EQ(prompts.MessageTexts(),
        QStringList { QString::fromLocal8Bit(LoadResourceText(IDS_BROWSER_FAILED)) });
}

} // namespace
