#include "pages/ViewGeneral.h"
#include "support/PageTestSupport.h"

namespace {

class GeneralPageTest : public PageTest
{
protected:
    void Open()
    {
        page = std::make_unique<ViewGeneral>(doc);
        ui = ControlsOf<GeneralPageForm>(*page);
        page->OnInitialUpdate();
    }

    // Commits with a value that must be refused and returns the message shown.
    QString RefusedCommit()
    {
        prompts.AnswerMessage(PromptAnswer::Ok);
        EXPECT_FALSE(page->Commit());
        const QStringList texts = prompts.MessageTexts();
        return texts.isEmpty() ? QString() : texts.last();
    }

    std::unique_ptr<ViewGeneral> page;
    GeneralPageForm ui;
};

TEST_F(GeneralPageTest, ShowsTheProjectAndLeavesItUnmodifiedWithoutChanges)
{
    Open();
    EXPECT_EQ(TextOf(ui.widthEdit), "400");
    EXPECT_EQ(TextOf(ui.heightEdit), "200");
    EXPECT_EQ(TextOf(ui.userLabelEdit), "User:");
    EXPECT_EQ(TextOf(ui.triesEdit), "3");
    EXPECT_EQ(TextOf(ui.initialMessageEdit), "Enter your user ID and\npassword, then click login.");
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(GeneralPageTest, SizesAndTriesOutsideTheirRangesAreRefused)
{
    Open();
    Type(ui.widthEdit, "0");
    EXPECT_EQ(RefusedCommit(), "Please enter an integer between 1 and 5000.");
    Type(ui.widthEdit, "5001");
    EXPECT_EQ(RefusedCommit(), "Please enter an integer between 1 and 5000.");
    Type(ui.widthEdit, "wide");
    EXPECT_EQ(RefusedCommit(), "Please enter an integer.");
    Type(ui.widthEdit, "1");
    Type(ui.heightEdit, "5000");
    Type(ui.triesEdit, "11");
    EXPECT_EQ(RefusedCommit(), "Please enter an integer between 1 and 10.");
    EXPECT_EQ(doc.width, 1);
    EXPECT_EQ(doc.height, 5000);
    EXPECT_EQ(doc.retries, 3);
    Type(ui.triesEdit, "10");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.retries, 10);
}

TEST_F(GeneralPageTest, ARefusedValueStillCommitsTheFieldsTakenBeforeIt)
{
    Open();
    // Taken in the order width, height, message, labels, tries: a bad height stops the rest.
    Type(ui.widthEdit, "640");
    Type(ui.heightEdit, "0");
    Type(ui.loginLabelEdit, "Enter");
    EXPECT_EQ(RefusedCommit(), "Please enter an integer between 1 and 5000.");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.width, 640);
    EXPECT_EQ(doc.height, 200);
    EXPECT_EQ(doc.loginLabel, "Login");

    Type(ui.heightEdit, "300");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.loginLabel, "Enter");
}

TEST_F(GeneralPageTest, AMultiLineMessageIsStoredOnOneLineAndShownOnThreeAgain)
{
    Open();
    Type(ui.initialMessageEdit, "one\ntwo\nthree");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.initialMessage, "one\\ntwo\\nthree");

    page = std::make_unique<ViewGeneral>(doc);
    ui = ControlsOf<GeneralPageForm>(*page);
    page->OnInitialUpdate();
    EXPECT_EQ(TextOf(ui.initialMessageEdit), "one\ntwo\nthree");
    doc.SetModified(false);
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
