#include "app/CommandLine.h"
#include "app/DialogNewOpenProject.h"
#include "publish/PreviewServer.h"
#include "support/ShellTest.h"
#include "util/Paths.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using StartupTest = ShellTest;

TEST_F(StartupTest, WithoutAFileMakesABlankProjectThenOffersTheNewOpenDialog)
{
    bool frameVisible = false;
    WhenModal<DialogNewOpenProject>([&frameVisible, this](DialogNewOpenProject& dialog) {
        frameVisible = Frame().isVisible();
        dialog.reject();
    });

    ASSERT_TRUE(Start({}, true));

    EXPECT_EQ(ModalSeen(), true);
    EXPECT_TRUE(frameVisible) << "the main window comes first";
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
    // Only the page shown is built at start-up; the others show the opened project when built.
    EXPECT_EQ(Frame().findChildren<FormView*>().size(), 1);
    auto* width = ControlsOf<GeneralPageForm>(*Frame().PageAt(FrameMain::kGeneral)).widthEdit;
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
    // Missing: the defaults, and an empty "Browser" written at exit.
    ASSERT_TRUE(Start());
    EXPECT_TRUE(App().Browser().command.isEmpty());
    EXPECT_EQ(App().Browser().local, 0);
    App().ExitInstance();
    ASSERT_TRUE(Settings().contains(QStringLiteral("Options/Browser")));
    EXPECT_EQ(Settings().value(QStringLiteral("Options/Browser")).toString(), QString());

    Settings().setValue(QStringLiteral("Options/Browser"), QStringLiteral("firefox -new-window"));
    Settings().setValue(QStringLiteral("Options/BrowserLocal"), 1);
    ASSERT_TRUE(Start());
    EXPECT_EQ(App().Browser().command, QByteArray("firefox -new-window"));
    EXPECT_EQ(App().Browser().local, 1);

    // What the program holds at exit is written, over a value set meanwhile.
    Settings().setValue(QStringLiteral("Options/Browser"), QStringLiteral("set while running"));
    App().Browser().command = "chromium";
    App().Browser().local = 0;
    App().ExitInstance();
    EXPECT_EQ(
        Settings().value(QStringLiteral("Options/Browser")).toString(), QStringLiteral("chromium"));
    EXPECT_EQ(Settings().value(QStringLiteral("Options/BrowserLocal")).toInt(), 0);

    // Typed into the file by hand: commas, quotes and ";" are the command's own, and stay so
    // through a run that writes other settings.
    const QByteArray typed = R"(sh -c 'firefox --new-window "$0"; logger opened,done' x,y)";
    QFile file(Settings().fileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Options]\nBrowser=" + typed + "\nBrowserLocal=1\n");
    file.close();
    ASSERT_TRUE(Start({ WriteProject(QStringLiteral("recent.loc"), 400) }));
    EXPECT_EQ(App().Browser().command, typed);
    App().ExitInstance();
    EXPECT_TRUE(ReadFile(Settings().fileName()).contains("\nBrowser=" + typed + '\n'));
    ASSERT_TRUE(Start());
    EXPECT_EQ(App().Browser().command, typed);
    EXPECT_EQ(App().Browser().local, 1);
}

TEST_F(StartupTest, NewProjectsTakeTheKindChosenLastAndOpenedOnesShowTheirOwn)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Document().boxKind, BoxKind::Modern);
    ASSERT_TRUE(Frame().Tabs()->activateTab(FrameMain::kGenerate));
    const auto page = ControlsOf<GeneratePageForm>(*Frame().PageAt(FrameMain::kGenerate));
    EXPECT_EQ(page.boxKindCombo->currentIndex(), 1);
    EXPECT_EQ(page.boxKindNote->text(),
        QStringLiteral("Works in today's browsers; needs a page served over https."));
    page.boxKindCombo->setCurrentIndex(2);
    emit page.boxKindCombo->activated(2);
    EXPECT_TRUE(page.boxKindNote->text().contains(QLatin1String("scrambled is not encrypted")));
    EXPECT_EQ(Settings().value(QStringLiteral("Options/BoxKind")).toString(), "both");
    App().ExitInstance();

    // The next run's new project takes it; a project opened shows its own kind.
    ASSERT_TRUE(Start());
    EXPECT_EQ(Document().boxKind, BoxKind::Both);
    App().ExitInstance();
    ASSERT_TRUE(Start({ WriteProject(QStringLiteral("classic.loc"), 400) }));
    EXPECT_EQ(Document().boxKind, BoxKind::Classic);
    ASSERT_TRUE(Frame().Tabs()->activateTab(FrameMain::kGenerate));
    EXPECT_EQ(
        ControlsOf<GeneratePageForm>(*Frame().PageAt(FrameMain::kGenerate)).boxKindNote->text(),
        QStringLiteral("Shown only by browsers that still run Java applets."));
    App().ExitInstance();
}

TEST_F(StartupTest, ClassPathPutsTheProgramFirstWhileRunningAndIsRestoredAtExit)
{
    qunsetenv("CLASSPATH");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(App().Browser().userClassPath.isEmpty());
    EXPECT_EQ(qgetenv("CLASSPATH"), ProgramDirectory());
    App().ExitInstance();
    EXPECT_FALSE(qEnvironmentVariableIsSet("CLASSPATH")) << "an empty value unsets it";

    qputenv("CLASSPATH", "/opt/java/classes");
    ASSERT_TRUE(Start());
    EXPECT_EQ(App().Browser().userClassPath, QByteArray("/opt/java/classes"));
    EXPECT_EQ(qgetenv("CLASSPATH"), ProgramDirectory() + ":/opt/java/classes");
    App().ExitInstance();
    EXPECT_EQ(qgetenv("CLASSPATH"), QByteArray("/opt/java/classes"));
}

TEST_F(StartupTest, ExitEmptiesThePreviewFolderSiteFoldersIncluded)
{
    const QDir preview(Path("Preview"));
    ASSERT_TRUE(preview.mkpath(QStringLiteral("members")));
    for (const char* name : { "~Zarnith.html", ".hidden", "lock.txt", "members/inner.html" }) {
        QFile file(preview.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    QFile::setPermissions(preview.filePath(QStringLiteral("lock.txt")), QFileDevice::ReadOwner);

    ASSERT_TRUE(Start());
    App().ExitInstance();

    EXPECT_EQ(
        preview.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList {});
}

TEST_F(StartupTest, AScreenshotShowsTheNamedPageAndAnUnknownNameSavesNone)
{
    const QString picture = Path("window.png");
    qputenv("ZARNITH_SCREENSHOT", QFile::encodeName(picture));
    struct Case
    {
        const char* page;
        int status;
    };
    QList<QImage> pictures;
    for (const Case& run : { Case { "", 0 }, Case { "gEnErAtE", 0 }, Case { "Nowhere", 1 } }) {
        qputenv("ZARNITH_SCREENSHOT_PAGE", run.page);
        QFile::remove(picture);
        AppMain app({ QStringLiteral("zarnith") });
        EXPECT_EQ(app.Run(), run.status) << run.page;
        EXPECT_EQ(QFile::exists(picture), run.status == 0) << run.page;
        pictures.append(QImage(picture));
    }
    qunsetenv("ZARNITH_SCREENSHOT");
    qunsetenv("ZARNITH_SCREENSHOT_PAGE");
    EXPECT_FALSE(pictures.at(0).isNull());
    EXPECT_EQ(pictures.at(0).size(), pictures.at(1).size());
    EXPECT_NE(pictures.at(0), pictures.at(1)) << "the Generate page looks like the Locks page";
}

TEST(CommandLineTest, ReadsOneProjectOrAnswersUsageAndVersion)
{
    const auto parse = [](QStringList arguments) {
        return CommandLine::Parse(QStringList { QStringLiteral("zarnith") } + arguments);
    };
    EXPECT_EQ(parse({ QStringLiteral("--"), QStringLiteral("-odd.loc") }).projectFile,
        QStringLiteral("-odd.loc"));
    EXPECT_EQ(parse({ QStringLiteral("a.loc"), QStringLiteral("--help") }).action,
        CommandLine::Action::ShowHelp);
    EXPECT_EQ(parse({ QStringLiteral("--version") }).message,
        QStringLiteral("Zarnith 1.02 (build 29)\n"));
    EXPECT_EQ(parse({ QStringLiteral("--frobnicate") }).action, CommandLine::Action::Error);
    EXPECT_EQ(parse({ QStringLiteral("a.loc"), QStringLiteral("b.loc") }).action,
        CommandLine::Action::Error);
}

// Whether a library whose name holds part is mapped into this process.
bool Mapped(const char* part)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(part);
}

TEST_F(StartupTest, SoundAndWebServerLibrariesLoadOnlyWhenFirstUsed)
{
    for (const char* plugin : { "libzarnith_previewserver", "libzarnith_audio" }) {
        if (Mapped(plugin))
            GTEST_SKIP() << "an earlier test of this process loaded " << plugin;
    }
    const char* const late[] = { "libQt6Multimedia", "libQt6Network", "libQt6HttpServer" };
    ASSERT_TRUE(Start());
    Frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
    for (int page : { FrameMain::kMembers, FrameMain::kGeneral, FrameMain::kResponses,
             FrameMain::kAppearance, FrameMain::kPreview, FrameMain::kGenerate, FrameMain::kLocks })
        ASSERT_TRUE(Frame().Tabs()->activateTab(page));
    for (const char* library : late)
        EXPECT_FALSE(Mapped(library)) << library;

    // The first preview address starts the web server from its plugin.
    EXPECT_EQ(PreviewAddress(QStringLiteral("~Zarnith.html")).host(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(Mapped("libQt6HttpServer"));
    EXPECT_FALSE(Mapped("libQt6Multimedia"));

    // The sound plugin lies beside the real program, one folder above the test programs.
    QCoreApplication::addLibraryPath(QStringLiteral(ZARNITH_BUILD_DIR));
    if (QDir(QStringLiteral(ZARNITH_BUILD_DIR)).entryList({ "*zarnith_audio*" }).isEmpty())
        GTEST_SKIP() << "the sound plugin was not built (Qt Multimedia not found)";
    const QString sound = Path(QStringLiteral("hello.au"));
    {
        QFile file(sound);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromHex("2e736e6400000018000000100000000100001f4000000001")
            + QByteArray(16, '\x7f'));
    }
    ASSERT_TRUE(Frame().Tabs()->activateTab(FrameMain::kResponses));
    const auto responses = ControlsOf<ResponsesPageForm>(*Frame().PageAt(FrameMain::kResponses));
    responses.correctAudioEdit->setText(sound);
    responses.playCorrectButton->click();
    EXPECT_TRUE(Mapped("libQt6Multimedia"));
}

} // namespace
