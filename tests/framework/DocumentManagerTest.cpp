#include "framework/DocumentManager.h"

#include "model/Doc.h"
#include "model/ProjectReadAhead.h"
#include "support/TestPrompts.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>

namespace {

// What the manager announced, in order.
struct Announcements
{
    explicit Announcements(DocumentManager& manager)
    {
        QObject::connect(
            &manager, &DocumentManager::documentReset, &listener, [this] { ++resets; });
        QObject::connect(&manager, &DocumentManager::titleChanged, &listener,
            [this](const QString& title) { titles.append(title); });
        QObject::connect(&manager, &DocumentManager::recentFilesChanged, &listener,
            [this](const QStringList& files) { recentFiles = files; });
    }

    // Connections end with the announcements.
    QObject listener;
    int resets = 0;
    QStringList titles;
    QStringList recentFiles;
};

const QString kProjectFilter
    = QStringLiteral("Zarnith Project Files (*.loc)|*.loc|All Files (*.*)|*.*||");

class DocumentManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        // The settings of every test live in its own folder, never the user's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
            m_folder.filePath(QStringLiteral("settings")));
        m_manager = std::make_unique<DocumentManager>(m_doc);
        m_manager->SetCommitGate([this] {
            ++m_gateCalls;
            return m_gateAgrees;
        });
        m_manager->FileNew();
        m_gateCalls = 0;
    }

    QString Path(const QString& name) const { return m_folder.filePath(name); }

    // A project file on disk whose width tells it apart.
    QString WriteProjectFile(const QString& name, int width)
    {
        Doc other;
        other.ResetProject();
        other.width = width;
        DocumentManager writer(other);
        m_prompts.AnswerSaveAs(Path(name));
        EXPECT_TRUE(writer.FileSaveAs());
        return Path(name);
    }

    void Modify(int width)
    {
        m_doc.width = width;
        m_doc.SetModified();
    }

    QTemporaryDir m_folder;
    TestPrompts m_prompts;
    Doc m_doc;
    std::unique_ptr<DocumentManager> m_manager;
    bool m_gateAgrees = true;
    int m_gateCalls = 0;
};

} // namespace

TEST_F(DocumentManagerTest, NewResetsAnUnmodifiedProjectWithoutAsking)
{
    Announcements heard(*m_manager);
    m_doc.width = 123;
    EXPECT_TRUE(m_manager->FileNew());
    EXPECT_EQ(m_doc.width, 400);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_manager->Title(), QStringLiteral("Untitled"));
    EXPECT_EQ(heard.resets, 1);
    EXPECT_EQ(m_gateCalls, 1);
    EXPECT_TRUE(m_prompts.Asked().empty());
}

TEST_F(DocumentManagerTest, SaveAsProposesTheNewProjectNameAndSaveThenReusesThePath)
{
    Announcements heard(*m_manager);
    Modify(640);
    m_prompts.AnswerSaveAs(Path(QStringLiteral("first.loc")));
    EXPECT_TRUE(m_manager->FileSave());

    ASSERT_EQ(m_prompts.Asked().size(), 1u);
    const PromptRecord& asked = m_prompts.Asked().front();
    EXPECT_EQ(asked.kind, PromptKind::SaveAs);
    EXPECT_EQ(asked.filter, kProjectFilter);
    EXPECT_EQ(asked.defaultExtension, QStringLiteral("loc"));
    EXPECT_EQ(asked.initialPath, QStringLiteral("ZarnithProject.loc"));
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_manager->Title(), QStringLiteral("first.loc"));
    EXPECT_EQ(heard.titles.last(), QStringLiteral("first.loc"));

    // Save with a file asks nothing more; Save As starts from the current file.
    Modify(800);
    EXPECT_TRUE(m_manager->FileSave());
    EXPECT_EQ(m_prompts.Asked().size(), 1u);
    m_prompts.AnswerSaveAs(QString());
    EXPECT_FALSE(m_manager->FileSaveAs());
    EXPECT_EQ(m_prompts.Asked().back().initialPath, Path(QStringLiteral("first.loc")));

    Doc reread;
    DocumentManager reader(reread);
    ASSERT_TRUE(reader.OpenDocumentFile(Path(QStringLiteral("first.loc"))));
    EXPECT_EQ(reread.width, 800);
}

TEST_F(DocumentManagerTest, OpenReadsTheChosenFileAndTellsThePagesToReload)
{
    const QString path = WriteProjectFile(QStringLiteral("saved.loc"), 1234);
    Announcements heard(*m_manager);
    m_prompts.AnswerOpen(path);
    EXPECT_TRUE(m_manager->FileOpen());
    EXPECT_EQ(m_prompts.Asked().back().kind, PromptKind::Open);
    EXPECT_EQ(m_prompts.Asked().back().filter, kProjectFilter);
    EXPECT_EQ(m_doc.width, 1234);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_manager->PathName(), path);
    EXPECT_EQ(m_manager->Title(), QStringLiteral("saved.loc"));
    EXPECT_EQ(heard.resets, 1);

    // Cancelling the Open dialog changes nothing.
    m_prompts.AnswerOpen(QString());
    EXPECT_FALSE(m_manager->FileOpen());
    EXPECT_EQ(m_manager->PathName(), path);
    EXPECT_EQ(heard.resets, 1);

    // A file read ahead opens as read. Any open drops what was read ahead, so that a later open
    // reads the file as it is then.
    const QString other = WriteProjectFile(QStringLiteral("other.loc"), 1500);
    m_manager->SetReadAhead(std::make_unique<ProjectReadAhead>(other));
    EXPECT_TRUE(m_manager->OpenDocumentFile(other));
    EXPECT_EQ(m_doc.width, 1500);
    EXPECT_EQ(m_manager->PathName(), other);
    EXPECT_EQ(heard.resets, 2);
    m_manager->SetReadAhead(std::make_unique<ProjectReadAhead>(other));
    EXPECT_TRUE(m_manager->OpenDocumentFile(path));
    EXPECT_EQ(m_doc.width, 1234);
    WriteProjectFile(QStringLiteral("other.loc"), 1600);
    EXPECT_TRUE(m_manager->OpenDocumentFile(other));
    EXPECT_EQ(m_doc.width, 1600);
}

TEST_F(DocumentManagerTest, AModifiedProjectIsOfferedForSavingFirst)
{
    const QString other = WriteProjectFile(QStringLiteral("other.loc"), 1500);

    // Cancel: nothing happens.
    Modify(555);
    m_prompts.AnswerMessage(PromptAnswer::Cancel);
    EXPECT_FALSE(m_manager->FileNew());
    EXPECT_EQ(m_doc.width, 555);
    EXPECT_TRUE(m_doc.IsModified());
    const PromptRecord asked = m_prompts.Asked().back();
    EXPECT_EQ(asked.text, QStringLiteral("Save changes to Untitled?"));
    EXPECT_EQ(asked.icon, PromptIcon::Question);
    EXPECT_EQ(asked.buttons, PromptButtons::YesNoCancel);

    // No: the changes are dropped.
    m_prompts.AnswerMessage(PromptAnswer::No);
    EXPECT_TRUE(m_manager->OpenDocumentFile(other));
    EXPECT_EQ(m_doc.width, 1500);

    // Yes: saved under its own name, then the next project is made.
    Modify(777);
    m_prompts.AnswerMessage(PromptAnswer::Yes);
    EXPECT_TRUE(m_manager->FileNew());
    EXPECT_EQ(m_prompts.Asked().back().text, QStringLiteral("Save changes to other.loc?"));
    EXPECT_EQ(m_doc.width, 400);
    Doc reread;
    DocumentManager reader(reread);
    ASSERT_TRUE(reader.OpenDocumentFile(other));
    EXPECT_EQ(reread.width, 777);

    // Yes for an untitled project asks for a name; cancelling that cancels everything.
    Modify(888);
    m_prompts.AnswerMessage(PromptAnswer::Yes);
    m_prompts.AnswerSaveAs(QString());
    EXPECT_FALSE(m_manager->CanCloseFrame());
    EXPECT_EQ(m_doc.width, 888);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(DocumentManagerTest, AFailedOpenLeavesTheProjectOpenBefore)
{
    const QString good = WriteProjectFile(QStringLiteral("good.loc"), 999);
    ASSERT_TRUE(m_manager->OpenDocumentFile(good));
    const QString broken = Path(QStringLiteral("broken.loc"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x04"
               "1.0",
        4);
    file.close();
    const QString missing = Path(QStringLiteral("missing.loc"));

    struct Case
    {
        QString path;
        QString message;
    };
    // The same whether the file was read ahead or not.
    for (const Case& failure : { Case { broken, QStringLiteral("Unexpected file format.") },
             Case { missing, missing + QStringLiteral(" was not found.") } }) {
        for (bool readAhead : { false, true }) {
            SCOPED_TRACE(failure.path.toStdString() + (readAhead ? " read ahead" : ""));
            if (readAhead)
                m_manager->SetReadAhead(std::make_unique<ProjectReadAhead>(failure.path));
            Announcements heard(*m_manager);
            m_prompts.AnswerMessage(PromptAnswer::Ok);
            EXPECT_FALSE(m_manager->OpenDocumentFile(failure.path));
            EXPECT_EQ(m_prompts.Asked().back().text, failure.message);
            EXPECT_EQ(m_prompts.Asked().back().icon, PromptIcon::Warning);
            EXPECT_EQ(m_doc.width, 999);
            EXPECT_FALSE(m_doc.IsModified());
            EXPECT_EQ(m_manager->PathName(), good);
            EXPECT_EQ(heard.resets, 0);
            EXPECT_FALSE(m_manager->RecentFiles().contains(failure.path));
        }
    }
}

TEST_F(DocumentManagerTest, AFailedSaveKeepsTheProjectModifiedAndItsName)
{
    Modify(640);
    const QString nowhere = Path(QStringLiteral("no/such/folder/p.loc"));
    m_prompts.AnswerSaveAs(nowhere);
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    EXPECT_FALSE(m_manager->FileSaveAs());
    EXPECT_EQ(
        m_prompts.Asked().back().text, nowhere + QStringLiteral(" contains an invalid path."));
    EXPECT_EQ(m_prompts.Asked().back().icon, PromptIcon::Warning);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_manager->Title(), QStringLiteral("Untitled"));
    EXPECT_TRUE(m_manager->RecentFiles().isEmpty());
}

TEST_F(DocumentManagerTest, ARefusingPageStopsNewOpenSaveAndCloseButNotOpeningByPath)
{
    const QString path = WriteProjectFile(QStringLiteral("p.loc"), 321);
    Modify(640);
    m_gateAgrees = false;
    const std::size_t askedBefore = m_prompts.Asked().size();

    EXPECT_FALSE(m_manager->FileNew());
    EXPECT_FALSE(m_manager->FileOpen());
    EXPECT_FALSE(m_manager->FileSave());
    EXPECT_FALSE(m_manager->CanCloseFrame());
    EXPECT_FALSE(m_manager->FileSaveAs());
    EXPECT_EQ(m_gateCalls, 5);
    EXPECT_EQ(m_doc.width, 640);
    EXPECT_TRUE(m_doc.IsModified());
    // No dialog and no question: the page has said why it refused.
    EXPECT_EQ(m_prompts.Asked().size(), askedBefore);

    // A dropped or recent file goes straight to the question about the modified project.
    m_prompts.AnswerMessage(PromptAnswer::No);
    EXPECT_TRUE(m_manager->OpenDocumentFile(path));
    EXPECT_EQ(m_doc.width, 321);
    EXPECT_EQ(m_gateCalls, 5);

    // Saving from that question still commits the page before writing, and its refusal holds.
    Modify(641);
    m_prompts.AnswerMessage(PromptAnswer::Yes);
    EXPECT_FALSE(m_manager->OpenDocumentFile(path));
    EXPECT_EQ(m_gateCalls, 6);
    EXPECT_EQ(m_doc.width, 641);
}

TEST_F(DocumentManagerTest, TheRecentListKeepsTheSixNewestFilesInTheSettings)
{
    QStringList paths;
    for (int i = 1; i <= 8; ++i)
        paths.append(WriteProjectFile(QStringLiteral("p%1.loc").arg(i), 400 + i));
    Announcements heard(*m_manager);
    for (const QString& path : paths)
        ASSERT_TRUE(m_manager->OpenDocumentFile(path));
    // Opening a listed file again moves it to the front.
    ASSERT_TRUE(m_manager->OpenDocumentFile(paths[4]));

    const QStringList expected = { paths[4], paths[7], paths[6], paths[5], paths[3], paths[2] };
    EXPECT_EQ(m_manager->RecentFiles(), expected);
    EXPECT_EQ(heard.recentFiles, expected);
    QSettings settings(QStringLiteral("Velto"), QStringLiteral("Zarnith"));
    settings.beginGroup(QStringLiteral("Recent File List"));
    EXPECT_EQ(settings.childKeys().size(), 6);
    EXPECT_EQ(settings.value(QStringLiteral("File1")).toString(), paths[4]);
    EXPECT_EQ(settings.value(QStringLiteral("File6")).toString(), paths[2]);
    EXPECT_EQ(DocumentManager(m_doc).RecentFiles(), expected);

    // Opening the newest file again changes nothing and writes nothing.
    ASSERT_TRUE(QFile::remove(settings.fileName()));
    ASSERT_TRUE(m_manager->OpenDocumentFile(paths[4]));
    EXPECT_FALSE(QFile::exists(settings.fileName()));
    EXPECT_EQ(m_manager->RecentFiles(), expected);
}

TEST_F(DocumentManagerTest, ARecentEntryThatFailsToOpenLeavesTheList)
{
    const QString kept = WriteProjectFile(QStringLiteral("kept.loc"), 401);
    const QString gone = WriteProjectFile(QStringLiteral("gone.loc"), 402);
    ASSERT_TRUE(m_manager->OpenDocumentFile(kept));
    ASSERT_TRUE(m_manager->OpenDocumentFile(gone));
    ASSERT_TRUE(QFile::remove(gone));

    // Cancelling the question about a modified project is no failure to open.
    Modify(640);
    m_prompts.AnswerMessage(PromptAnswer::Cancel);
    EXPECT_FALSE(m_manager->OpenRecentFile(0));
    EXPECT_EQ(m_manager->RecentFiles(), QStringList({ gone, kept }));

    m_prompts.AnswerMessage(PromptAnswer::No);
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    EXPECT_FALSE(m_manager->OpenRecentFile(0));
    EXPECT_EQ(m_prompts.MessageTexts().last(), gone + QStringLiteral(" was not found."));
    EXPECT_EQ(m_manager->RecentFiles(), QStringList({ kept }));
    // The changed project stayed open, so the question comes again.
    EXPECT_EQ(m_doc.width, 640);
    m_prompts.AnswerMessage(PromptAnswer::No);
    EXPECT_TRUE(m_manager->OpenRecentFile(0));
    EXPECT_EQ(m_doc.width, 401);
}
