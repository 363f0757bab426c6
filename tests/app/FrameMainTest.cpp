#include "preview/ViewPreview.h"
#include "support/RecordingLauncher.h"
#include "support/ShellTest.h"
#include "util/Paths.h"

#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSizeGrip>
#include <QStatusBar>
#include <QTabBar>

namespace {

const QString kIntegerMessage = QStringLiteral("Please enter an integer.");

class FrameMainTest : public ShellTest
{
protected:
    // Drags the file over the window and drops it there, as a file manager does.
    void DropFile(const QString& path)
    {
        QMimeData data;
        data.setUrls({ QUrl::fromLocalFile(path) });
        QDragEnterEvent enter(
            QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&Frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&Frame(), &drop);
    }

    QString MessagePane() const
    {
        return Frame().statusBar()->findChild<QLabel*>(QStringLiteral("59393"))->text();
    }
};

TEST_F(FrameMainTest, IsOneFixedSizeWindowWithTheSevenPagesInOrder)
{
    ASSERT_TRUE(Start());
    const PageTabWindow& tabs = *Frame().Tabs();
    // A page built when it is first shown is still reached by Tab from the tab strip.
    ASSERT_TRUE(Frame().Tabs()->activateTab(FrameMain::kGeneral));
    QWidget* next = tabs.tabBar()->nextInFocusChain();
    while (next != tabs.tabBar() && !(next->isVisible() && next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    EXPECT_TRUE(Frame().PageAt(FrameMain::kGeneral)->isAncestorOf(next))
        << next->metaObject()->className() << " " << next->objectName().toStdString();
    const QStringList labels = { QStringLiteral("Locks"), QStringLiteral("Members"),
        QStringLiteral("General"), QStringLiteral("Responses"), QStringLiteral("Appearance"),
        QStringLiteral("Preview"), QStringLiteral("Generate") };
    ASSERT_EQ(tabs.count(), labels.size());
    for (int index = 0; index < tabs.count(); ++index) {
        EXPECT_EQ(tabs.tabText(index), labels.at(index));
        EXPECT_FALSE(tabs.tabIcon(index).isNull()) << index;
        // Every tab can be seen and clicked, and every page fits whole.
        EXPECT_TRUE(tabs.tabBar()->rect().contains(tabs.tabBar()->tabRect(index))) << index;
        const QWidget* page = Frame().PageAt(index);
        EXPECT_GE(tabs.currentWidget()->width(), page->minimumWidth()) << index;
        EXPECT_GE(tabs.currentWidget()->height(), page->minimumHeight()) << index;
    }
    EXPECT_EQ(Frame().minimumSize(), Frame().maximumSize());
    EXPECT_EQ(Frame().findChild<QSizeGrip*>(), nullptr) << "a grip offers a resize";
    EXPECT_FALSE(Frame().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(Frame().windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(FrameMainTest, StatusBarShowsReadyMenuPromptsAndThePagesText)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(MessagePane(), QStringLiteral("Ready"));

    Frame().Action(FrameMain::kFileNew)->showStatusText(&Frame());
    EXPECT_EQ(Frame().statusBar()->currentMessage(), QStringLiteral("Create a new document"));

    auto* preview = static_cast<ViewPreview*>(Frame().PageAt(FrameMain::kPreview));
    emit preview->statusTextChanged(QStringLiteral("Done"));
    EXPECT_EQ(MessagePane(), QStringLiteral("Done"));
    emit preview->statusTextChanged({});
    EXPECT_EQ(MessagePane(), QStringLiteral("Ready"));
}

TEST_F(FrameMainTest, ARefusingPageKeepsTheUserThereThroughTabsNewOpenSaveAndClose)
{
    const QString path = WriteProject(QStringLiteral("site.loc"), 500);
    const QByteArray before = ReadFile(path);
    ASSERT_TRUE(Start({ path }));
    Frame().show();
    TypeWidth(QStringLiteral("abc"));

    for (int i = 0; i < 5; ++i)
        Prompts().AnswerMessage(PromptAnswer::Ok);
    EXPECT_FALSE(Frame().Tabs()->activateTab(FrameMain::kLocks));
    Trigger(FrameMain::kFileNew);
    Trigger(FrameMain::kFileOpen); // no Open dialog may be asked
    Trigger(FrameMain::kFileSave);
    EXPECT_FALSE(Frame().close());

    EXPECT_EQ(Prompts().MessageTexts(), QStringList(5, kIntegerMessage));
    EXPECT_EQ(Frame().Tabs()->currentIndex(), FrameMain::kGeneral);
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(Document().width, 500);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(App().Documents().PathName(), path);
    EXPECT_EQ(ReadFile(path), before);

    // Once the value is right, the same actions go ahead.
    TypeWidth(QStringLiteral("320"));
    EXPECT_TRUE(Frame().Tabs()->activateTab(FrameMain::kLocks));
    EXPECT_EQ(Document().width, 320);
    EXPECT_TRUE(Document().IsModified());
}

TEST_F(FrameMainTest, NewAsksToSaveAModifiedProjectAndCancelKeepsIt)
{
    const QString path = WriteProject(QStringLiteral("site.loc"), 500);
    ASSERT_TRUE(Start({ path }));
    TypeWidth(QStringLiteral("321"));

    Prompts().AnswerMessage(PromptAnswer::Cancel);
    Trigger(FrameMain::kFileNew);
    EXPECT_EQ(
        Prompts().MessageTexts(), QStringList { QStringLiteral("Save changes to site.loc?") });
    EXPECT_EQ(Prompts().Asked().back().icon, PromptIcon::Question);
    EXPECT_EQ(Document().width, 321);
    EXPECT_EQ(App().Documents().PathName(), path);

    Prompts().AnswerMessage(PromptAnswer::Yes);
    Trigger(FrameMain::kFileNew);
    EXPECT_EQ(Document().width, 400);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Zarnith"));
    EXPECT_EQ(ControlsOf<GeneralPageForm>(*Frame().PageAt(FrameMain::kGeneral)).widthEdit->text(),
        QStringLiteral("400"));
    Doc saved;
    ASSERT_TRUE(LoadProject(saved, path).ok);
    EXPECT_EQ(saved.width, 321);
}

TEST_F(FrameMainTest, RecentFilesAndDroppedFilesCommitThePageBeforeOpening)
{
    const QString recent = WriteProject(QStringLiteral("recent.loc"), 640);
    const QString dropped = WriteProject(QStringLiteral("dropped.loc"), 480);
    SetRecentFiles({ recent });
    ASSERT_TRUE(Start());

    // An edit not yet committed still counts: the question comes before it would be lost.
    TypeWidth(QStringLiteral("777"));
    Prompts().AnswerMessage(PromptAnswer::No);
    Trigger(FrameMain::kFileRecent);
    EXPECT_EQ(
        Prompts().MessageTexts(), QStringList { QStringLiteral("Save changes to Untitled?") });
    EXPECT_EQ(Document().width, 640);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("recent.loc - Zarnith"));

    TypeWidth(QStringLiteral("abc"));
    Prompts().AnswerMessage(PromptAnswer::Ok);
    DropFile(dropped);
    EXPECT_EQ(Prompts().MessageTexts().last(), kIntegerMessage);
    EXPECT_EQ(Document().width, 640);

    TypeWidth(QStringLiteral("640"));
    DropFile(dropped);
    EXPECT_EQ(Document().width, 480);
    EXPECT_EQ(App().Documents().RecentFiles(), (QStringList { dropped, recent }));
    const QAction* first = Frame().Action(FrameMain::kFileRecent);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), QStringLiteral("&1 ") + dropped);
}

TEST_F(FrameMainTest, HelpCommandsOpenTheWebSiteOrTheManualAndReportABrowserFailure)
{
    ASSERT_TRUE(Start());
    RecordingLauncher launcher;
    const QList<QUrl>& opened = launcher.opened;

    Trigger(FrameMain::kAdditionalInformation);
    Trigger(FrameMain::kTroubleShooting);
    Trigger(FrameMain::kVeltoOnTheWeb);
    Trigger(FrameMain::kHelpTopics);
    Trigger(FrameMain::kHelp);
    Trigger(FrameMain::kContextHelp);
    ASSERT_EQ(opened.size(), 6);
    EXPECT_EQ(
        opened.at(0).toString(), QStringLiteral("http://www.velto.example/zarnith/lockhelp.html"));
    EXPECT_EQ(opened.at(1).fileName(), QStringLiteral("lockfaq.html"));
    EXPECT_EQ(opened.at(2).fileName(), QStringLiteral("index.html"));
    EXPECT_EQ(opened.at(0).host(), opened.at(2).host());
    const QUrl manual
        = QUrl::fromLocalFile(QFile::decodeName(ProgramDirectory()) + "help/index.html");
    EXPECT_EQ(opened.mid(3), (QList<QUrl> { manual, manual, manual }));
    EXPECT_TRUE(Prompts().Asked().empty());

    launcher.succeed = false;
    Prompts().AnswerMessage(PromptAnswer::Ok);
    Trigger(FrameMain::kTroubleShooting);
    ASSERT_EQ(Prompts().Asked().size(), 1u);
    EXPECT_EQ(Prompts().Asked().front().text,
        QStringLiteral(
            "There was a problem starting the browser! Make sure the path  to the browser "
            "is set correctly, and there is enough memory."));
    EXPECT_EQ(Prompts().Asked().front().icon, PromptIcon::Stop);

    // The build puts the manual beside the program, as the installation does.
    EXPECT_TRUE(QFile::exists(QStringLiteral(ZARNITH_BUILD_DIR "/help/index.html")));
}

} // namespace

TEST_F(FrameMainTest, ImportLocksTakesAFileWholeOffersPasswordsAndExportsThem)
{
    ASSERT_TRUE(Start());
    const QString members = Path(QStringLiteral("members.csv"));
    const QString exported = Path(QStringLiteral("exported.csv"));
    {
        QFile file(members);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBFurl,userId\r\nhttp://a/,ann\r\nhttp://b/,bob\r\n");
    }
    Prompts().AnswerOpen(members);
    Prompts().AnswerMessage(PromptAnswer::Yes); // random passwords
    Prompts().AnswerMessage(PromptAnswer::Yes); // export them
    Prompts().AnswerSaveAs(exported);
    Trigger(FrameMain::kImportLocks);
    ASSERT_EQ(Document().locks.size(), 2u);
    EXPECT_EQ(Document().locks[1].userId, "bob");
    EXPECT_EQ(Document().locks[1].password.size(), 12);
    EXPECT_TRUE(Document().IsModified());
    const auto locksPage = ControlsOf<LocksPageForm>(*Frame().PageAt(FrameMain::kLocks));
    EXPECT_EQ(locksPage.lockList->model()->rowCount(), 2);
    EXPECT_TRUE(ReadFile(exported).contains("bob," + Document().locks[1].password + ",http://b/"));

    // A bad row anywhere leaves the list as it was; the message names the line.
    {
        QFile file(members);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("userId,url\nann,http://new/\ncarl\n");
    }
    Prompts().AnswerOpen(members);
    Prompts().AnswerMessage(PromptAnswer::No); // add to the list
    Prompts().AnswerMessage(PromptAnswer::Ok);
    Trigger(FrameMain::kImportLocks);
    EXPECT_EQ(Prompts().MessageTexts().last(),
        QStringLiteral("Line 3: The row has 1 fields where the header names 2."));
    EXPECT_EQ(Document().locks[0].url, "http://a/");
    EXPECT_EQ(locksPage.lockList->model()->rowCount(), 2);
}
