#include "publish/DialogCopyProgress.h"
#include "publish/DialogResources.h"
#include "publish/DocOutputs.h"
#include "support/OutputsTestSupport.h"
#include "support/TestForms.h"
#include "util/FileCopy.h"
#include "util/StringIds.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>

#include <functional>

namespace {

// The Resources dialog of a project with two audio files: the list holds the page, the applet
// class, yes.au and no.au once it is shown. The folder browser answers "pub" unless a test says
// otherwise.
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

    void CopyLocally(const QString& folder = QStringLiteral("pub"))
    {
        m_dialog.show();
        m_prompts.AnswerFolder(Path(folder));
        for (PromptAnswer answer : m_answers)
            m_prompts.AnswerMessage(answer);
        ControlsOf<ResourcesDialogForm>(m_dialog).copyLocallyButton->click();
    }

    QString Published(const QString& name) const { return Path("pub/" + name); }
    QByteArray PublishedBytes(const QString& name) const { return Bytes("pub/" + name); }

    TestPrompts m_prompts;
    std::vector<PromptAnswer> m_answers;
    DialogResources m_dialog { m_doc, "<APPLET>", nullptr };
};

TEST_F(PublishTest, EveryEntryStartsSelectedAndOnlySelectedFilesAreCopied)
{
    m_dialog.show();
    const auto form = ControlsOf<ResourcesDialogForm>(m_dialog);
    QListWidget* list = form.resourceList;
    EXPECT_EQ(list->selectedItems().size(), 4);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("index.html  (the page)"));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("yes.au  (from %1)").arg(Path("yes.au")));
    m_answers = { PromptAnswer::Ok };
    CopyLocally();
    EXPECT_EQ(ReadBytes(Published("index.html")), "<APPLET>");
    EXPECT_EQ(ReadBytes(Published("Zarnith.class")), Applet());
    EXPECT_EQ(ReadBytes(Published("no.au")), ReadBytes(Path("no.au")));
    EXPECT_EQ(m_doc.publishDirectory, Bytes("pub"));
    EXPECT_TRUE(m_dialog.isEnabled());

    // The next copy starts at the folder chosen last.
    list->item(1)->setSelected(false);
    list->item(3)->setSelected(false);
    QFile::remove(Published("no.au"));
    m_answers = { PromptAnswer::Yes, PromptAnswer::Yes, PromptAnswer::Ok };
    CopyLocally();
    EXPECT_FALSE(QFile::exists(Published("no.au")));
    form.selectAllButton->click();
    EXPECT_EQ(list->selectedItems().size(), 4);

    const std::vector<PromptRecord>& asked = m_prompts.Asked();
    EXPECT_EQ(asked[0].text, "Publish to:");
    EXPECT_EQ(asked[0].initialPath, QString());
    EXPECT_EQ(asked[2].initialPath, Path("pub"));
    EXPECT_EQ(m_prompts.MessageTexts(),
        (QStringList { Message(IDS_PUBLISH_SUCCEEDED),
            Message(IDS_ASK_REPLACE_FILE, PublishedBytes("index.html")),
            Message(IDS_ASK_REPLACE_FILE, PublishedBytes("yes.au")),
            Message(IDS_PUBLISH_SUCCEEDED) }));
}

TEST_F(PublishTest, TheModernBoxsFilesAreMadeFromThePagesLockDataAndSounds)
{
    m_doc.correctAudio = MakeSunAudio(QStringLiteral("yes.au"));
    m_doc.incorrectAudio = MakeSunAudio(QStringLiteral("no.au"));
    m_doc.readLocksFromFile = 1;
    const QByteArray lockData = "{\"format\":\"zarnith-locks/2\"}";
    DialogResources dialog(m_doc, "<div>", nullptr, BoxKind::Modern, lockData);
    dialog.show();
    const auto form = ControlsOf<ResourcesDialogForm>(dialog);
    ASSERT_EQ(form.resourceList->count(), 4);
    EXPECT_EQ(form.resourceList->item(1)->text(),
        QStringLiteral("lock.json  (the modern box's encrypted locks)"));
    EXPECT_EQ(form.resourceList->item(2)->text(),
        QStringLiteral("yes.wav  (converted from %1)").arg(Path("yes.au")));
    m_prompts.AnswerFolder(Path("pub"));
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    form.copyLocallyButton->click();

    EXPECT_EQ(ReadBytes(Published("index.html")), "<div>");
    EXPECT_EQ(ReadBytes(Published("lock.json")), lockData);
    EXPECT_TRUE(ReadBytes(Published("yes.wav")).startsWith("RIFF"));
    EXPECT_TRUE(ReadBytes(Published("no.wav")).startsWith("RIFF"));
    EXPECT_FALSE(QFile::exists(Published("Zarnith.class")));
    EXPECT_EQ(m_prompts.MessageTexts(), QStringList { Message(IDS_PUBLISH_SUCCEEDED) });
}

TEST_F(PublishTest, MissingSourceIgnoredEndsIncomplete)
{
    m_doc.correctAudio = Bytes("gone.au");
    // A device is no sound file: it counts as missing, and nothing is read from it.
    m_doc.incorrectAudio = "/dev/null";
    m_answers
        = { PromptAnswer::Retry, PromptAnswer::Ignore, PromptAnswer::Ignore, PromptAnswer::Ok };
    CopyLocally();

    const QString missing = Message(IDS_FILE_MISSING, Bytes("gone.au"));
    EXPECT_EQ(m_prompts.MessageTexts(),
        (QStringList { missing, missing, Message(IDS_FILE_MISSING, "/dev/null"),
            Message(IDS_PUBLISH_INCOMPLETE) }));
    EXPECT_EQ(m_prompts.Asked()[1].buttons, PromptButtons::AbortRetryIgnore);
    EXPECT_TRUE(QFile::exists(Published("Zarnith.class")));
    EXPECT_FALSE(QFile::exists(Published("null")));
}

TEST_F(PublishTest, ExistingDestinationKeptOnNoAndReplacedOnYes)
{
    ASSERT_TRUE(WriteBytes(Published("yes.au"), "older yes"));
    // A link is replaced by the copy; what it points to stays as it was.
    ASSERT_TRUE(WriteBytes(Path("outside"), "older no"));
    ASSERT_TRUE(QFile::link(Path("outside"), Published("no.au")));
    m_answers = { PromptAnswer::No, PromptAnswer::Yes, PromptAnswer::Ok };
    CopyLocally();

    EXPECT_EQ(m_prompts.MessageTexts(),
        (QStringList { Message(IDS_ASK_REPLACE_FILE, PublishedBytes("yes.au")),
            Message(IDS_ASK_REPLACE_FILE, PublishedBytes("no.au")),
            Message(IDS_PUBLISH_INCOMPLETE) }));
    EXPECT_EQ(m_prompts.Asked()[1].icon, PromptIcon::Question);
    EXPECT_EQ(ReadBytes(Published("yes.au")), "older yes");
    EXPECT_EQ(ReadBytes(Published("no.au")), ReadBytes(Path("no.au")));
    EXPECT_EQ(ReadBytes(Path("outside")), "older no");
}

TEST_F(PublishTest, FilesOfOneNameAreReportedBeforeAFolderIsChosen)
{
    ASSERT_TRUE(QDir().mkdir(Path("other")));
    m_doc.incorrectAudio = MakeFile(QStringLiteral("other/yes.au"));
    m_dialog.show();
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    ControlsOf<ResourcesDialogForm>(m_dialog).copyLocallyButton->click();
    EXPECT_EQ(m_prompts.MessageTexts(),
        QStringList { Message(IDS_SAME_FILE_NAME, m_doc.correctAudio, m_doc.incorrectAudio) });
    EXPECT_EQ(m_prompts.Asked().size(), 1u);
}

TEST_F(PublishTest, CancelStopsALargeFileBetweenPiecesAndKeepsTheOlderCopy)
{
    ASSERT_TRUE(WriteBytes(Path("yes.au"), QByteArray(2 * CopyChunkSize, 'y')));
    ASSERT_TRUE(WriteBytes(Published("yes.au"), "older yes"));
    m_prompts.OnMessage(Message(IDS_ASK_REPLACE_FILE, PublishedBytes("yes.au")), [this] {
        const auto* progress = m_dialog.findChild<DialogCopyProgress*>();
        ControlsOf<CopyProgressDialogForm>(*progress).cancelButton->click();
    });
    m_answers = { PromptAnswer::Yes, PromptAnswer::Ok };
    CopyLocally();

    EXPECT_EQ(ReadBytes(Published("yes.au")), "older yes");
    // No half-made copy is left beside the page, the class file and the older copy.
    EXPECT_EQ(QDir(Path("pub")).entryList(QDir::Files | QDir::Hidden).size(), 3);
    EXPECT_EQ(m_prompts.MessageTexts().back(), Message(IDS_PUBLISH_INCOMPLETE));
}

TEST_F(PublishTest, RetryAfterAFailedCopyDoesNotAskToReplaceAgain)
{
    // A folder where the copy should go makes the copy fail until it is removed.
    ASSERT_TRUE(QDir().mkdir(Published("yes.au")));
    const QString failed = Message(IDS_COPY_FAILED, m_doc.correctAudio, PublishedBytes("yes.au"));
    m_prompts.OnMessage(failed, [this] { EXPECT_TRUE(QDir().rmdir(Published("yes.au"))); });
    m_answers = { PromptAnswer::Yes, PromptAnswer::Retry, PromptAnswer::Ok };
    CopyLocally();

    EXPECT_EQ(m_prompts.MessageTexts(),
        (QStringList { Message(IDS_ASK_REPLACE_FILE, PublishedBytes("yes.au")), failed,
            Message(IDS_PUBLISH_SUCCEEDED) }));
    EXPECT_EQ(ReadBytes(Published("yes.au")), ReadBytes(Path("yes.au")));
}

TEST_F(PublishTest, CancelInTheProgressWindowStopsBeforeTheNextFile)
{
    ASSERT_TRUE(WriteBytes(Published("Zarnith.class"), "older class"));
    m_prompts.OnMessage(Message(IDS_ASK_REPLACE_FILE, PublishedBytes("Zarnith.class")), [this] {
        auto* progress = m_dialog.findChild<DialogCopyProgress*>();
        ASSERT_NE(progress, nullptr);
        EXPECT_FALSE(m_dialog.isEnabled());
        EXPECT_TRUE(progress->isVisible() && progress->isEnabled());
        const auto window = ControlsOf<CopyProgressDialogForm>(*progress);
        EXPECT_EQ(window.fileText->text(), "Copying file 'Zarnith.class' ");
        EXPECT_EQ(window.progressBar->value(), 1);
        EXPECT_EQ(window.progressBar->maximum(), 4);
        EXPECT_EQ(window.animation->movie()->state(), QMovie::Running);
        // Closing the Resources dialog is refused while it copies.
        m_dialog.reject();
        EXPECT_TRUE(m_dialog.isVisible());
        window.cancelButton->click();
    });
    m_answers = { PromptAnswer::Yes, PromptAnswer::Ok };
    CopyLocally();

    // The file in hand when Cancel was pressed is finished; the next is not begun.
    EXPECT_EQ(ReadBytes(Published("Zarnith.class")), Applet());
    EXPECT_FALSE(QFile::exists(Published("yes.au")));
    EXPECT_EQ(m_prompts.MessageTexts().back(), Message(IDS_PUBLISH_INCOMPLETE));
    EXPECT_TRUE(m_dialog.isEnabled());
}

TEST_F(PublishTest, MissingFolderIsCreatedOnlyWhenTheUserSaysSoAndItCanBe)
{
    m_doc.publishDirectory = "/kept";
    m_answers = { PromptAnswer::No };
    CopyLocally(QStringLiteral("new"));
    EXPECT_FALSE(QFile::exists(Path("new")));

    // One level only: a folder whose parent is missing cannot be made.
    m_answers = { PromptAnswer::Yes, PromptAnswer::Ok };
    CopyLocally(QStringLiteral("deep/new"));
    EXPECT_EQ(m_prompts.Asked().back().icon, PromptIcon::Warning);
    EXPECT_EQ(m_doc.publishDirectory, "/kept");

    m_answers = { PromptAnswer::Yes, PromptAnswer::Ok };
    CopyLocally(QStringLiteral("new"));
    EXPECT_TRUE(QFile::exists(Path("new/yes.au")));
    EXPECT_EQ(m_doc.publishDirectory, Bytes("new"));

    // A blank ending the name is part of it.
    m_answers = { PromptAnswer::Yes, PromptAnswer::Ok };
    CopyLocally(QStringLiteral("new "));
    EXPECT_TRUE(QFile::exists(Path("new /yes.au")));
    EXPECT_EQ(m_doc.publishDirectory, Bytes("new "));

    EXPECT_EQ(m_prompts.MessageTexts(),
        (QStringList { Message(IDS_ASK_CREATE_DIRECTORY, Bytes("new")),
            Message(IDS_ASK_CREATE_DIRECTORY, Bytes("deep/new")),
            Message(IDS_CREATE_DIRECTORY_FAILED, Bytes("deep/new")),
            Message(IDS_ASK_CREATE_DIRECTORY, Bytes("new")), Message(IDS_PUBLISH_SUCCEEDED),
            Message(IDS_ASK_CREATE_DIRECTORY, Bytes("new ")), Message(IDS_PUBLISH_SUCCEEDED) }));
}

TEST_F(PublishTest, EveryClashIsShownBeforePublishToFolderWritesAnything)
{
    ASSERT_TRUE(QDir().mkdir(Path("other")));
    const QByteArray otherYes = MakeFile(QStringLiteral("other/yes.au"));
    const struct
    {
        const char* name;
        std::function<void(Doc&)> change;
        const char* siteFile;
        QByteArray first;
        QByteArray second;
    } cases[] = {
        { "lock file named like the page",
            [](Doc& doc) {
                doc.readLocksFromFile = 1;
                doc.lockFile = "/elsewhere/index.html";
            },
            nullptr, "index.html", "/elsewhere/index.html" },
        { "two sounds of one name", [&](Doc& doc) { doc.incorrectAudio = otherYes; }, nullptr,
            m_doc.correctAudio, otherYes },
        { "site file named like the page", [](Doc&) {}, "index.html", "index.html",
            Bytes("site/index.html") },
        { "site file named like the lock file", [](Doc& doc) { doc.readLocksFromFile = 1; },
            "lock.txt", "lock.txt", Bytes("site/lock.txt") },
        { "site file named like the lock data",
            [](Doc& doc) {
                doc.readLocksFromFile = 1;
                doc.boxKind = BoxKind::Modern;
            },
            "lock.json", "lock.json", Bytes("site/lock.json") },
        { "site folder named like a sound", [](Doc&) {}, "no.au/inside.html", m_doc.incorrectAudio,
            Bytes("site/no.au/inside.html") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Doc doc = m_doc;
        c.change(doc);
        QDir(Path("site")).removeRecursively();
        if (c.siteFile) {
            doc.siteFolder = Bytes("site");
            const QString file = Path("site/") + QLatin1String(c.siteFile);
            ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()) && WriteBytes(file, "site"));
        }
        QString problem;
        bool publishEnabled = true;
        const ModalDialogWatcher watcher([&](QDialog& dialog) {
            const auto form = ControlsOf<PublishDialogForm>(dialog);
            problem = form.problemText->text();
            publishEnabled = form.publishButton->isEnabled();
        });
        m_prompts.AnswerFolder(Path("out"));
        EXPECT_FALSE(DocOutputs(doc, m_project, nullptr).PublishToFolder());
        EXPECT_EQ(problem, Message(IDS_SAME_FILE_NAME, c.first, c.second));
        EXPECT_FALSE(publishEnabled);
        EXPECT_FALSE(QFile::exists(Path("out")));
    }
}

} // namespace
