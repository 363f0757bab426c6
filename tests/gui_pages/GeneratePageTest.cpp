#include "framework/UpDown.h"
#include "pages/ViewGenerate.h"
#include "PageTestSupport.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

constexpr int kReadFromFile = 1920;
constexpr int kDetails = 1921;
constexpr int kFileButton = 1703;
constexpr int kLockFile = 1302;
constexpr int kLoadingMessage = 1303;
constexpr int kInterval = 1304;
constexpr int kIntervalUpDown = 1301;
constexpr int kWriteInputFile = 1305;
constexpr int kOk = 1;

class GeneratePageTest : public PageTest
{
protected:
    void Open()
    {
        page = std::make_unique<ViewGenerate>(doc);
        page->OnInitialUpdate();
    }

    bool DetailsEnabled() const { return page->Control(kDetails)->isEnabled(); }

    std::unique_ptr<ViewGenerate> page;
};

TEST_F(GeneratePageTest, TheCheckBoxEnablesDetailsAtOnce)
{
    Open();
    EXPECT_FALSE(page->Control<QCheckBox>(kReadFromFile)->isChecked());
    EXPECT_FALSE(DetailsEnabled());
    Click(*page, kReadFromFile);
    EXPECT_TRUE(DetailsEnabled());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.readLocksFromFile, 1);
    EXPECT_TRUE(doc.IsModified());

    page = std::make_unique<ViewGenerate>(doc);
    page->OnInitialUpdate();
    EXPECT_TRUE(DetailsEnabled());
}

TEST_F(GeneratePageTest, DetailsChangeThePageCopiesOnlyOnOk)
{
    doc.readLocksFromFile = 1;
    Open();
    OnNextDialog([](QDialog& dialog) {
        EXPECT_EQ(TextOf(dialog, kLockFile), "lock.txt");
        EXPECT_EQ(TextOf(dialog, kInterval), "300");
        EXPECT_EQ(TextOf(dialog, kLoadingMessage), "Please wait while locks load...");
        Type(dialog, kLockFile, "ignored.txt");
        dialog.reject();
    });
    Click(*page, kDetails);
    OnNextDialog([](QDialog& dialog) {
        EXPECT_EQ(TextOf(dialog, kLockFile), "lock.txt");
        Type(dialog, kLockFile, "users.txt");
        Type(dialog, kInterval, "60");
        Type(dialog, kLoadingMessage, "Loading");
        Click(dialog, kOk);
    });
    Click(*page, kDetails);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(page->Commit());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.lockFile, "users.txt");
    EXPECT_EQ(doc.reloadInterval, 60);
    EXPECT_EQ(doc.loadingMessage, "Loading");
}

TEST_F(GeneratePageTest, TheIntervalMustLieBetweenZeroAndFiveThousand)
{
    doc.readLocksFromFile = 1;
    Open();
    prompts.AnswerMessage(PromptAnswer::Ok);
    OnNextDialog([this](QDialog& dialog) {
        auto* upDown = FindControl<UpDown>(&dialog, kIntervalUpDown);
        EXPECT_EQ(upDown->maximum(), 20000);
        upDown->stepBy(25000);
        EXPECT_EQ(TextOf(dialog, kInterval), "20000");
        Type(dialog, kInterval, "6000");
        Type(dialog, kLockFile, "later.txt");
        Click(dialog, kOk);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(
            prompts.MessageTexts(), QStringList({ "Please enter an integer between 0 and 5000." }));
        Type(dialog, kInterval, "0");
        Click(dialog, kOk);
        EXPECT_FALSE(dialog.isVisible());
    });
    Click(*page, kDetails);
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.reloadInterval, 0);
    EXPECT_EQ(doc.lockFile, "later.txt");

    OnNextDialog([](QDialog& dialog) {
        Type(dialog, kInterval, "5000");
        Click(dialog, kOk);
        EXPECT_FALSE(dialog.isVisible());
    });
    Click(*page, kDetails);
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.reloadInterval, 5000);
}

TEST_F(GeneratePageTest, TheInputFileIsWrittenUnderTheTypedNameWithoutStoringIt)
{
    QTemporaryDir folder;
    const QString typed = folder.filePath("typed.txt");
    const QString chosen = folder.filePath("chosen.txt");
    LockEntry lock;
    lock.userId = "u";
    lock.url = "http://u/";
    doc.locks = { lock };
    doc.readLocksFromFile = 1;
    Open();
    prompts.AnswerSaveAs(chosen);
    prompts.AnswerMessage(PromptAnswer::Ok);
    prompts.AnswerSaveAs(QString());
    OnNextDialog([&](QDialog& dialog) {
        Type(dialog, kLockFile, typed);
        Click(dialog, kWriteInputFile);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(TextOf(dialog, kLockFile), typed);
        // A refused interval stops the exchange before the name, so the old name is offered.
        Type(dialog, kInterval, "6000");
        Type(dialog, kLockFile, folder.filePath("late.txt"));
        Click(dialog, kWriteInputFile);
        dialog.reject();
    });
    Click(*page, kDetails);

    ASSERT_EQ(prompts.Asked().size(), 3u);
    EXPECT_EQ(prompts.Asked()[0].kind, PromptKind::SaveAs);
    EXPECT_EQ(prompts.Asked()[0].initialPath, typed);
    EXPECT_EQ(prompts.Asked()[1].text, "Please enter an integer between 0 and 5000.");
    EXPECT_EQ(prompts.Asked()[2].initialPath, typed);
    QFile written(chosen);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("u"));
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.lockFile, "lock.txt");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(GeneratePageTest, OutputButtonsCommitThePageFirst)
{
    Open();
    Click(*page, kReadFromFile);
    doc.htmlFilePath = "/nowhere/page.html";
    prompts.AnswerSaveAs(QString());
    Click(*page, kFileButton);
    ASSERT_EQ(prompts.Asked().size(), 1u);
    EXPECT_EQ(prompts.Asked()[0].initialPath, "/nowhere/page.html");
    EXPECT_EQ(doc.readLocksFromFile, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.htmlFilePath, "/nowhere/page.html");
}

} // namespace
