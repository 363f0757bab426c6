#include "app/CommandLine.h"
#include "app/DialogNewOpenProject.h"
#include "ShellTest.h"
#include "util/Paths.h"
#include "util/PreviewDirectory.h"

#include <QListWidget>
#include <QRadioButton>

namespace {

using StartupTest = ShellTest;

TEST_F(StartupTest, WithoutAFileMakesABlankProjectThenOffersTheNewOpenDialog)
{
    struct Seen
    {
        int lines = 0;
        QString firstLine;
        int currentRow = -1;
        bool listEnabled = true;
        bool blankChecked = false;
        bool frameVisible = false;
    } seen;
    WhenModal<DialogNewOpenProject>([&seen, this](DialogNewOpenProject& dialog) {
        auto* list = dialog.Control<QListWidget>(2101);
        seen.lines = list->count();
        seen.firstLine = list->item(0)->text();
        seen.currentRow = list->currentRow();
        seen.listEnabled = list->isEnabled();
        seen.blankChecked = dialog.Control<QRadioButton>(2102)->isChecked();
        seen.frameVisible = Frame().isVisible();
        dialog.reject();
    });

    ASSERT_TRUE(Start({}, true));

    EXPECT_EQ(ModalSeen(), true);
    EXPECT_TRUE(App().NewOpenDialogRequested());
    EXPECT_TRUE(seen.frameVisible) << "the main window comes first";
    EXPECT_EQ(seen.lines, 7) << "More Files... and six slots, empty ones too";
    EXPECT_EQ(seen.firstLine, QStringLiteral("More Files..."));
    EXPECT_EQ(seen.currentRow, 0);
    EXPECT_FALSE(seen.listEnabled);
    EXPECT_TRUE(seen.blankChecked);

    // Cancel keeps the blank project made at start-up.
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Zarnith"));
    EXPECT_EQ(Frame().Tabs()->currentIndex(), FrameMain::kLocks);
    EXPECT_EQ(Document().width, 400);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_TRUE(Prompts().Asked().empty());
}

TEST_F(StartupTest, WithAFileOpensItAndOffersNoDialog)
{
    const QString path = WriteProject(QStringLiteral("members.loc"), 777);
    WhenModal<QDialog>([](QDialog& dialog) { dialog.reject(); });

    ASSERT_TRUE(Start({ path }, true));
    QCoreApplication::processEvents();

    EXPECT_EQ(ModalSeen(), false);
    EXPECT_FALSE(App().NewOpenDialogRequested());
    EXPECT_EQ(Document().width, 777);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("members.loc - Zarnith"));
    EXPECT_EQ(Frame().Tabs()->currentIndex(), FrameMain::kLocks);
    // The pages show the opened project.
    auto* width = Frame().PageAt(FrameMain::kGeneral)->Control<QLineEdit>(1901);
    EXPECT_EQ(width->text(), QStringLiteral("777"));
    EXPECT_EQ(App().Documents().RecentFiles().value(0), path);
}

TEST_F(StartupTest, AProjectThatCannotBeOpenedEndsTheProgramAndStillRestoresEverything)
{
    qunsetenv("CLASSPATH");
    const QString missing = Path("missing.loc");
    Prompts().AnswerMessage(PromptAnswer::Ok);

    EXPECT_FALSE(Start({ missing }));
    EXPECT_EQ(
        Prompts().MessageTexts(), QStringList { missing + QStringLiteral(" was not found.") });

    App().ExitInstance();
    EXPECT_FALSE(qEnvironmentVariableIsSet("CLASSPATH"));
    EXPECT_TRUE(Settings().contains(QStringLiteral("Options/Browser")));
}

TEST_F(StartupTest, BrowserSettingsAreReadAtStartAndWrittenBackAtExit)
{
    {
        QSettings settings = Settings();
        settings.setValue(QStringLiteral("Options/Browser"), QStringLiteral("firefox -new-window"));
        settings.setValue(QStringLiteral("Options/BrowserLocal"), 1);
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(CurrentAppState().browserCommand, QByteArray("firefox -new-window"));
    EXPECT_EQ(CurrentAppState().browserLocal, 1);

    // Whatever the program holds at exit is what is written, over a value set meanwhile.
    Settings().setValue(QStringLiteral("Options/Browser"), QStringLiteral("set while running"));
    CurrentAppState().browserCommand = "chromium";
    CurrentAppState().browserLocal = 0;
    App().ExitInstance();

    EXPECT_EQ(
        Settings().value(QStringLiteral("Options/Browser")).toString(), QStringLiteral("chromium"));
    EXPECT_EQ(Settings().value(QStringLiteral("Options/BrowserLocal")).toInt(), 0);
}

TEST_F(StartupTest, MissingBrowserSettingsTakeTheirDefaultsAndAreWrittenEmpty)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(CurrentAppState().browserCommand.isEmpty());
    EXPECT_EQ(CurrentAppState().browserLocal, 0);
    App().ExitInstance();

    const QSettings settings = Settings();
    ASSERT_TRUE(settings.contains(QStringLiteral("Options/Browser")));
    EXPECT_TRUE(settings.value(QStringLiteral("Options/Browser")).toString().isEmpty());
    EXPECT_EQ(settings.value(QStringLiteral("Options/BrowserLocal")).toInt(), 0);
}

TEST_F(StartupTest, ClassPathPutsTheProgramFirstWhileRunningAndIsRestoredAtExit)
{
    qunsetenv("CLASSPATH");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(CurrentAppState().startupClassPath.isEmpty());
    EXPECT_EQ(qgetenv("CLASSPATH"), ProgramDirectory());
    App().ExitInstance();
    EXPECT_FALSE(qEnvironmentVariableIsSet("CLASSPATH")) << "an empty value unsets it";

    qputenv("CLASSPATH", "/opt/java/classes");
    ASSERT_TRUE(Start());
    EXPECT_EQ(CurrentAppState().startupClassPath, QByteArray("/opt/java/classes"));
    EXPECT_EQ(qgetenv("CLASSPATH"), ProgramDirectory() + ":/opt/java/classes");
    App().ExitInstance();
    EXPECT_EQ(qgetenv("CLASSPATH"), QByteArray("/opt/java/classes"));
}

TEST_F(StartupTest, ExitDeletesThePreviewFilesButKeepsSubfolders)
{
    const QDir preview(Path("Preview"));
    ASSERT_TRUE(preview.mkpath(QStringLiteral("keep")));
    for (const char* name : { "~Zarnith.html", ".hidden", "lock.txt", "keep/inner.txt" }) {
        QFile file(preview.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    QFile::setPermissions(preview.filePath(QStringLiteral("lock.txt")), QFileDevice::ReadOwner);

    ASSERT_TRUE(Start());
    App().ExitInstance();

    EXPECT_EQ(preview.entryList(QDir::Files | QDir::Hidden), QStringList {});
    EXPECT_TRUE(QFile::exists(preview.filePath(QStringLiteral("keep/inner.txt"))));
}

TEST_F(StartupTest, HistoriesAreSeededAndProgramInformationRead)
{
    ASSERT_TRUE(Start());
    const AppState& state = CurrentAppState();
    ASSERT_EQ(state.UrlHistory.Entries().size(), 2u);
    EXPECT_TRUE(state.UrlHistory.Entries().at(0).startsWith("http://"));
    EXPECT_TRUE(state.UrlHistory.Entries().at(1).startsWith("mailto:"));
    EXPECT_EQ(state.FontFamilyHistory.Entries(),
        (std::vector<QByteArray> { "Arial", "TimesRoman", "Courier" }));
    EXPECT_EQ(state.programInfo.productVersion, QByteArray("1.02"));
    EXPECT_EQ(state.programInfo.internalName, QByteArray("Zarnith"));
}

TEST(PreviewDirectoryTest, IsMadeBesideTheProgramAndFoundAgainWithoutCreating)
{
    const QByteArray expected = ProgramDirectory() + "Preview/";
    const QByteArray made = PreviewDirectory();
    EXPECT_EQ(made, expected);
    EXPECT_TRUE(QFileInfo(QFile::decodeName(made)).isDir());
    EXPECT_EQ(ExistingPreviewDirectory(), made);
    DeletePreviewFiles({}); // no folder: nothing happens
}

TEST(CommandLineTest, ReadsOneProjectOrAnswersUsageAndVersion)
{
    const auto parse = [](QStringList arguments) {
        return CommandLine::Parse(QStringList { QStringLiteral("zarnith") } + arguments);
    };
    EXPECT_EQ(parse({}).action, CommandLine::Action::Run);
    EXPECT_TRUE(parse({}).projectFile.isEmpty());
    EXPECT_EQ(parse({ QStringLiteral("a.loc") }).projectFile, QStringLiteral("a.loc"));
    EXPECT_EQ(parse({ QStringLiteral("--"), QStringLiteral("-odd.loc") }).projectFile,
        QStringLiteral("-odd.loc"));

    const CommandLine help = parse({ QStringLiteral("a.loc"), QStringLiteral("--help") });
    EXPECT_EQ(help.action, CommandLine::Action::ShowHelp);
    EXPECT_TRUE(help.message.contains(QStringLiteral("ZARNITH_SCREENSHOT")));
    EXPECT_EQ(parse({ QStringLiteral("--version") }).message,
        QStringLiteral("Zarnith 1.02 (build 29)\n"));

    const CommandLine unknown = parse({ QStringLiteral("--frobnicate") });
    EXPECT_EQ(unknown.action, CommandLine::Action::Error);
    EXPECT_TRUE(unknown.message.contains(QStringLiteral("--frobnicate")));
    EXPECT_EQ(parse({ QStringLiteral("a.loc"), QStringLiteral("b.loc") }).action,
        CommandLine::Action::Error);
}

} // namespace
