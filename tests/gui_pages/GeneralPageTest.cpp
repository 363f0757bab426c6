#include "pages/ViewGeneral.h"
#include "PageTestSupport.h"

namespace {

constexpr int kWidth = 1901;
constexpr int kHeight = 1902;
constexpr int kUserLabel = 2836;
constexpr int kLoginLabel = 2838;
constexpr int kInitialMessage = 2840;
constexpr int kTries = 1920;

class GeneralPageTest : public PageTest
{
protected:
    void Open()
    {
        page = std::make_unique<ViewGeneral>(doc);
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
};

TEST_F(GeneralPageTest, ShowsTheProjectAndLeavesItUnmodifiedWithoutChanges)
{
    Open();
    EXPECT_EQ(TextOf(*page, kWidth), "400");
    EXPECT_EQ(TextOf(*page, kHeight), "200");
    EXPECT_EQ(TextOf(*page, kUserLabel), "User:");
    EXPECT_EQ(TextOf(*page, kTries), "3");
    EXPECT_EQ(
        TextOf(*page, kInitialMessage), "Enter your user ID and\npassword, then click login.");
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(GeneralPageTest, SizesAndTriesOutsideTheirRangesAreRefused)
{
    Open();
    Type(*page, kWidth, "0");
    EXPECT_EQ(RefusedCommit(), "Please enter an integer between 1 and 5000.");
    Type(*page, kWidth, "5001");
    EXPECT_EQ(RefusedCommit(), "Please enter an integer between 1 and 5000.");
    Type(*page, kWidth, "wide");
    EXPECT_EQ(RefusedCommit(), "Please enter an integer.");
    Type(*page, kWidth, "1");
    Type(*page, kHeight, "5000");
    Type(*page, kTries, "11");
    EXPECT_EQ(RefusedCommit(), "Please enter an integer between 1 and 10.");
    EXPECT_EQ(doc.width, 1);
    EXPECT_EQ(doc.height, 5000);
    EXPECT_EQ(doc.retries, 3);
    Type(*page, kTries, "10");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.retries, 10);
}

TEST_F(GeneralPageTest, ARefusedValueStillCommitsTheFieldsTakenBeforeIt)
{
    Open();
    // Taken in the order width, height, message, labels, tries: a bad height stops the rest.
    Type(*page, kWidth, "640");
    Type(*page, kHeight, "0");
    Type(*page, kLoginLabel, "Enter");
    EXPECT_EQ(RefusedCommit(), "Please enter an integer between 1 and 5000.");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.width, 640);
    EXPECT_EQ(doc.height, 200);
    EXPECT_EQ(doc.loginLabel, "Login");

    Type(*page, kHeight, "300");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.loginLabel, "Enter");
}

TEST_F(GeneralPageTest, AMultiLineMessageIsStoredOnOneLineAndShownOnThreeAgain)
{
    Open();
    Type(*page, kInitialMessage, "one\ntwo\nthree");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.initialMessage, "one\\ntwo\\nthree");

    page = std::make_unique<ViewGeneral>(doc);
    page->OnInitialUpdate();
    EXPECT_EQ(TextOf(*page, kInitialMessage), "one\ntwo\nthree");
    doc.SetModified(false);
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
