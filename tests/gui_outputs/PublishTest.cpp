#include "OutputsTestSupport.h"
#include "publish/DialogCopyProgress.h"
#include "publish/DialogResources.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>

namespace {

QString Message(int id, const QByteArray& first = {}, const QByteArray& second = {})
{
    return QString::fromLocal8Bit(FormatResourceText(id, first, second));
}

// The Resources dialog for a project with two audio files, shown as the user would see it.
class PublishTest : public OutputsTest
{
protected:
    void SetUp() override
    {
        OutputsTest::SetUp();
        m_doc.correctAudio = MakeFile(QStringLiteral("yes.au"));
        m_doc.incorrectAudio = MakeFile(QStringLiteral("no.au"));
        ASSERT_TRUE(QDir().mkdir(Path("pub")));
    }

    // Opens the dialog and presses Copy Locally.
    void CopyLocally()
    {
        DialogResources dialog(m_doc, "<APPLET>", nullptr);
        dialog.show();
        m_shownSelected = int(dialog.Control<QListWidget>(2202)->selectedItems().size());
        dialog.Control<QPushButton>(2201)->click();
        m_enabledAfter = dialog.isEnabled();
    }

    QString Published(const QString& name) const { return Path("pub/" + name); }
    QByteArray PublishedBytes(const QString& name) const { return Bytes("pub/" + name); }

    int m_shownSelected = 0;
    bool m_enabledAfter = false;
};

TEST_F(PublishTest, EveryEntryIsSelectedAndEveryFileCopied)
{
    HookedPrompts prompts;
    prompts.AnswerFolder(Path("pub"));
    prompts.AnswerMessage(PromptAnswer::Ok);

    CopyLocally();

    EXPECT_EQ(m_shownSelected, 3);
    EXPECT_EQ(prompts.MessageTexts(), QStringList { Message(IDS_PUBLISH_SUCCEEDED) });
    EXPECT_EQ(
        ReadBytes(Published("Zarnith.class")), ReadBytes(QFile::decodeName(AppletClassPath())));
    EXPECT_EQ(ReadBytes(Published("yes.au")), ReadBytes(Path("yes.au")));
    EXPECT_EQ(ReadBytes(Published("no.au")), ReadBytes(Path("no.au")));
    EXPECT_EQ(m_doc.publishDirectory, Bytes("pub"));
    EXPECT_TRUE(m_enabledAfter);
    const PromptRecord& folder = prompts.Asked().front();
    EXPECT_EQ(folder.kind, PromptKind::Folder);
    EXPECT_EQ(folder.text, "Publish to:");
    EXPECT_EQ(folder.initialPath, QString());
}

TEST_F(PublishTest, NextCopyStartsAtTheFolderChosenLastAndOnlySelectedFilesGo)
{
    m_doc.publishDirectory = Bytes("pub");
    HookedPrompts prompts;
    prompts.AnswerFolder(Path("pub"));
    prompts.AnswerMessage(PromptAnswer::Ok);
    DialogResources dialog(m_doc, "<APPLET>", nullptr);
    dialog.show();
    auto* list = dialog.Control<QListWidget>(2202);
    list->item(0)->setSelected(false);
    list->item(2)->setSelected(false);

    dialog.Control<QPushButton>(2201)->click();

    EXPECT_EQ(prompts.Asked().front().initialPath, Path("pub"));
    EXPECT_FALSE(QFile::exists(Published("Zarnith.class")));
    EXPECT_TRUE(QFile::exists(Published("yes.au")));
    EXPECT_FALSE(QFile::exists(Published("no.au")));
    dialog.Control<QPushButton>(2203)->click();
    EXPECT_EQ(list->selectedItems().size(), 3);
}

TEST_F(PublishTest, MissingSourceIgnoredEndsIncomplete)
{
    m_doc.correctAudio = Bytes("gone.au");
    HookedPrompts prompts;
    prompts.AnswerFolder(Path("pub"));
    prompts.AnswerMessage(PromptAnswer::Retry);
    prompts.AnswerMessage(PromptAnswer::Ignore);
    prompts.AnswerMessage(PromptAnswer::Ok);

    CopyLocally();

    const QString missing = Message(IDS_FILE_MISSING, Bytes("gone.au"));
    EXPECT_EQ(prompts.MessageTexts(),
        (QStringList { missing, missing, Message(IDS_PUBLISH_INCOMPLETE) }));
    EXPECT_EQ(prompts.Asked()[1].buttons, PromptButtons::AbortRetryIgnore);
    EXPECT_TRUE(QFile::exists(Published("Zarnith.class")));
    EXPECT_TRUE(QFile::exists(Published("no.au")));
}

TEST_F(PublishTest, ExistingDestinationKeptOnNoAndReplacedOnYes)
{
    ASSERT_TRUE(WriteBytes(Published("yes.au"), "older yes"));
    ASSERT_TRUE(WriteBytes(Published("no.au"), "older no"));
    HookedPrompts prompts;
    prompts.AnswerFolder(Path("pub"));
    prompts.AnswerMessage(PromptAnswer::No);
    prompts.AnswerMessage(PromptAnswer::Yes);
    prompts.AnswerMessage(PromptAnswer::Ok);

    CopyLocally();

    EXPECT_EQ(prompts.MessageTexts(),
        (QStringList { Message(IDS_ASK_REPLACE_FILE, PublishedBytes("yes.au")),
            Message(IDS_ASK_REPLACE_FILE, PublishedBytes("no.au")),
            Message(IDS_PUBLISH_INCOMPLETE) }));
    EXPECT_EQ(prompts.Asked()[1].icon, PromptIcon::Question);
    EXPECT_EQ(ReadBytes(Published("yes.au")), "older yes");
    EXPECT_EQ(ReadBytes(Published("no.au")), ReadBytes(Path("no.au")));
}

TEST_F(PublishTest, RetryAfterAFailedCopyDoesNotAskToReplaceAgain)
{
    // A folder where the copy should go makes the copy fail until it is removed.
    ASSERT_TRUE(QDir().mkdir(Published("yes.au")));
    HookedPrompts prompts;
    prompts.AnswerFolder(Path("pub"));
    prompts.AnswerMessage(PromptAnswer::Yes);
    prompts.OnMessage(Message(IDS_COPY_FAILED, m_doc.correctAudio, PublishedBytes("yes.au")),
        [this] { EXPECT_TRUE(QDir().rmdir(Published("yes.au"))); });
    prompts.AnswerMessage(PromptAnswer::Retry);
    prompts.AnswerMessage(PromptAnswer::Ok);

    CopyLocally();

    EXPECT_EQ(prompts.MessageTexts(),
        (QStringList { Message(IDS_ASK_REPLACE_FILE, PublishedBytes("yes.au")),
            Message(IDS_COPY_FAILED, m_doc.correctAudio, PublishedBytes("yes.au")),
            Message(IDS_PUBLISH_SUCCEEDED) }));
    EXPECT_EQ(ReadBytes(Published("yes.au")), ReadBytes(Path("yes.au")));
}

TEST_F(PublishTest, FailedCopyIgnoredOrAbortedEndsIncomplete)
{
    ASSERT_TRUE(QDir().mkdir(Published("yes.au")));
    HookedPrompts prompts;
    prompts.AnswerFolder(Path("pub"));
    prompts.AnswerMessage(PromptAnswer::Yes);
    prompts.AnswerMessage(PromptAnswer::Abort);
    prompts.AnswerMessage(PromptAnswer::Ok);

    CopyLocally();

    EXPECT_EQ(prompts.MessageTexts().back(), Message(IDS_PUBLISH_INCOMPLETE));
    EXPECT_TRUE(QFileInfo(Published("yes.au")).isDir());
    EXPECT_FALSE(QFile::exists(Published("no.au")));
}

TEST_F(PublishTest, ProgressWindowShowsTheFileInHandAndCancelStopsBeforeTheNext)
{
    ASSERT_TRUE(WriteBytes(Published("Zarnith.class"), "older class"));
    HookedPrompts prompts;
    prompts.AnswerFolder(Path("pub"));
    prompts.OnMessage(Message(IDS_ASK_REPLACE_FILE, PublishedBytes("Zarnith.class")), [] {
        auto* resources = qobject_cast<DialogResources*>(QApplication::activeModalWidget());
        ASSERT_NE(resources, nullptr);
        auto* progress = resources->findChild<DialogCopyProgress*>();
        ASSERT_NE(progress, nullptr);
        EXPECT_FALSE(resources->isEnabled());
        EXPECT_TRUE(progress->isVisible());
        EXPECT_TRUE(progress->isEnabled());
        EXPECT_EQ(progress->Control<QLabel>(2303)->text(), "Copying file 'Zarnith.class' ");
        EXPECT_EQ(progress->Control<QProgressBar>(2302)->value(), 0);
        EXPECT_EQ(progress->Control<QProgressBar>(2302)->maximum(), 3);
        EXPECT_EQ(progress->Control<QLabel>(2301)->movie()->state(), QMovie::Running);
        // Closing the Resources dialog is refused while it copies.
        resources->reject();
        EXPECT_TRUE(resources->isVisible());
        progress->Control<QPushButton>(2)->click();
    });
    prompts.AnswerMessage(PromptAnswer::Yes);
    prompts.AnswerMessage(PromptAnswer::Ok);

    CopyLocally();

    // The file in hand when Cancel was pressed is finished; the next is not begun.
    EXPECT_EQ(
        ReadBytes(Published("Zarnith.class")), ReadBytes(QFile::decodeName(AppletClassPath())));
    EXPECT_FALSE(QFile::exists(Published("yes.au")));
    EXPECT_EQ(prompts.MessageTexts().back(), Message(IDS_PUBLISH_INCOMPLETE));
    EXPECT_TRUE(m_enabledAfter);
}

TEST_F(PublishTest, MissingFolderIsCreatedOnYesOnly)
{
    m_doc.publishDirectory = "/kept";
    {
        HookedPrompts prompts;
        prompts.AnswerFolder(Path("new"));
        prompts.AnswerMessage(PromptAnswer::No);
        DialogResources dialog(m_doc, "<APPLET>", nullptr);
        dialog.show();
        dialog.Control<QPushButton>(2201)->click();
        EXPECT_EQ(prompts.MessageTexts(),
            QStringList { Message(IDS_ASK_CREATE_DIRECTORY, Bytes("new")) });
        EXPECT_FALSE(QFile::exists(Path("new")));
        EXPECT_EQ(m_doc.publishDirectory, "/kept");
    }
    {
        HookedPrompts prompts;
        prompts.AnswerFolder(Path("deep/new"));
        prompts.AnswerMessage(PromptAnswer::Yes);
        prompts.AnswerMessage(PromptAnswer::Ok);
        DialogResources dialog(m_doc, "<APPLET>", nullptr);
        dialog.show();
        dialog.Control<QPushButton>(2201)->click();
        EXPECT_EQ(prompts.MessageTexts(),
            (QStringList { Message(IDS_ASK_CREATE_DIRECTORY, Bytes("deep/new")),
                Message(IDS_CREATE_DIRECTORY_FAILED, Bytes("deep/new")) }));
        EXPECT_EQ(prompts.Asked().back().icon, PromptIcon::Warning);
        EXPECT_EQ(m_doc.publishDirectory, "/kept");
    }
    {
        HookedPrompts prompts;
        prompts.AnswerFolder(Path("new"));
        prompts.AnswerMessage(PromptAnswer::Yes);
        prompts.AnswerMessage(PromptAnswer::Ok);
        DialogResources dialog(m_doc, "<APPLET>", nullptr);
        dialog.show();
        dialog.Control<QPushButton>(2201)->click();
        EXPECT_EQ(prompts.MessageTexts().back(), Message(IDS_PUBLISH_SUCCEEDED));
        EXPECT_TRUE(QFile::exists(Path("new/yes.au")));
        EXPECT_EQ(m_doc.publishDirectory, Bytes("new"));
    }
}

} // namespace
