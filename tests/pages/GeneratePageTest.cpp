#include "framework/UpDown.h"
#include "pages/ViewGenerate.h"
#include "publish/ExternalBrowser.h"
#include "publish/ProjectState.h"
#include "support/PageTestSupport.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

class GeneratePageTest : public PageTest
{
protected:
    void Open()
    {
        page = std::make_unique<ViewGenerate>(doc, project, browser);
        ui = ControlsOf<GeneratePageForm>(*page);
        page->OnInitialUpdate();
    }

    bool DetailsEnabled() const { return ui.detailsButton->isEnabled(); }

    ProjectState project;
    const ExternalBrowser browser;
    std::unique_ptr<ViewGenerate> page;
    GeneratePageForm ui;
};

TEST_F(GeneratePageTest, TheCheckBoxEnablesDetailsAtOnce)
{
    Open();
    EXPECT_FALSE(ui.readFromFileCheck->isChecked());
    EXPECT_FALSE(DetailsEnabled());
    Click(ui.readFromFileCheck);
    EXPECT_TRUE(DetailsEnabled());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.readLocksFromFile, 1);
    EXPECT_TRUE(doc.IsModified());

    page = std::make_unique<ViewGenerate>(doc, project, browser);
    ui = ControlsOf<GeneratePageForm>(*page);
    page->OnInitialUpdate();
    EXPECT_TRUE(DetailsEnabled());
}

TEST_F(GeneratePageTest, DetailsChangeThePageCopiesOnlyOnOk)
{
    doc.readLocksFromFile = 1;
    Open();
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<InputDetailsDialogForm>(dialog);
        EXPECT_EQ(TextOf(form.lockFileEdit), "lock.txt");
        EXPECT_EQ(TextOf(form.intervalEdit), "300");
        EXPECT_EQ(TextOf(form.loadingMessageEdit), "Please wait while locks load...");
        Type(form.lockFileEdit, "ignored.txt");
        dialog.reject();
    });
    Click(ui.detailsButton);
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<InputDetailsDialogForm>(dialog);
        EXPECT_EQ(TextOf(form.lockFileEdit), "lock.txt");
        Type(form.lockFileEdit, "users.txt");
        Type(form.intervalEdit, "60");
        Type(form.loadingMessageEdit, "Loading");
        Click(form.okButton);
    });
    Click(ui.detailsButton);
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
        const auto form = ControlsOf<InputDetailsDialogForm>(dialog);
        auto* upDown = form.intervalUpDown;
        EXPECT_EQ(upDown->maximum(), 20000);
        upDown->stepBy(25000);
        EXPECT_EQ(TextOf(form.intervalEdit), "20000");
        Type(form.intervalEdit, "6000");
        Type(form.lockFileEdit, "later.txt");
        Click(form.okButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(
            prompts.MessageTexts(), QStringList({ "Please enter an integer between 0 and 5000." }));
        Type(form.intervalEdit, "0");
        Click(form.okButton);
        EXPECT_FALSE(dialog.isVisible());
    });
    Click(ui.detailsButton);
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.reloadInterval, 0);
    EXPECT_EQ(doc.lockFile, "later.txt");

    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<InputDetailsDialogForm>(dialog);
        Type(form.intervalEdit, "5000");
        Click(form.okButton);
        EXPECT_FALSE(dialog.isVisible());
    });
    Click(ui.detailsButton);
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
    prompts.AnswerNotice(false); // the file holds the applet's locks in plain text
    prompts.AnswerMessage(PromptAnswer::Ok);
    prompts.AnswerSaveAs(QString());
    OnNextDialog([&](QDialog& dialog) {
        const auto form = ControlsOf<InputDetailsDialogForm>(dialog);
        Type(form.lockFileEdit, typed);
        Click(form.writeFileButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(TextOf(form.lockFileEdit), typed);
        // A refused interval stops the exchange before the name, so the old name is offered.
        Type(form.intervalEdit, "6000");
        Type(form.lockFileEdit, folder.filePath("late.txt"));
        Click(form.writeFileButton);
        dialog.reject();
    });
    Click(ui.detailsButton);

    ASSERT_EQ(prompts.Asked().size(), 4u);
    EXPECT_EQ(prompts.Asked()[0].kind, PromptKind::SaveAs);
    EXPECT_EQ(prompts.Asked()[0].initialPath, typed);
    EXPECT_EQ(prompts.Asked()[1].kind, PromptKind::Notice);
    EXPECT_EQ(prompts.Asked()[2].text, "Please enter an integer between 0 and 5000.");
    EXPECT_EQ(prompts.Asked()[3].initialPath, typed);
    QFile written(chosen);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("u"));
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.lockFile, "lock.txt");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(GeneratePageTest, TheKindAndTheIterationCountAreTheProjectsAndTheCountIsChecked)
{
    Open();
    EXPECT_EQ(ui.boxKindCombo->currentIndex(), 0);
    EXPECT_EQ(ui.boxKindNote->text(), "Shown only by browsers that still run Java applets.");
    EXPECT_EQ(TextOf(ui.iterationsEdit), "600000");
    for (const char* refused : { "99999", "10000001", "many" }) {
        prompts.AnswerMessage(PromptAnswer::Ok);
        Type(ui.iterationsEdit, refused);
        EXPECT_FALSE(page->Commit()) << refused;
    }
    EXPECT_EQ(prompts.MessageTexts(),
        (QStringList { "Please enter an integer between 100000 and 10000000.",
            "Please enter an integer between 100000 and 10000000.", "Please enter an integer." }));
    EXPECT_EQ(doc.iterations, 600000);
    Type(ui.iterationsEdit, "100000");
    ui.boxKindCombo->setCurrentIndex(2);
    emit ui.boxKindCombo->activated(2);
    EXPECT_EQ(ui.boxKindNote->text(),
        "The applet's locks are in the page and readable by anyone: scrambled is not encrypted.");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.iterations, 100000);
    EXPECT_EQ(doc.boxKind, BoxKind::Both);
    EXPECT_TRUE(doc.IsModified());

    // The input file now is what the kind reads: for both, the lock file and its lock data.
    QTemporaryDir folder;
    doc.locks = { { "u", "", "http://u/", "", {} } };
    Click(ui.readFromFileCheck);
    prompts.AnswerSaveAs(folder.filePath("locks.txt"));
    prompts.AnswerNotice(false); // the lock input file holds the applet's locks
    OnNextDialog([&](QDialog& dialog) {
        Click(ControlsOf<InputDetailsDialogForm>(dialog).writeFileButton);
        dialog.reject();
    });
    Click(ui.detailsButton);
    EXPECT_TRUE(QFile::exists(folder.filePath("locks.txt")));
    QFile lockData(folder.filePath("locks.json"));
    ASSERT_TRUE(lockData.open(QIODevice::ReadOnly));
    EXPECT_TRUE(lockData.readAll().contains("\"iterations\":100000"));
}

TEST_F(GeneratePageTest, OutputButtonsCommitThePageFirst)
{
    Open();
    Click(ui.readFromFileCheck);
    doc.htmlFilePath = "/nowhere/page.html";
    prompts.AnswerSaveAs(QString());
    Click(ui.fileButton);
    ASSERT_EQ(prompts.Asked().size(), 1u);
    EXPECT_EQ(prompts.Asked()[0].initialPath, "/nowhere/page.html");
    EXPECT_EQ(doc.readLocksFromFile, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.htmlFilePath, "/nowhere/page.html");
}

} // namespace
