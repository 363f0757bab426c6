#include "framework/ColourButton.h"
#include "pages/ViewAppearance.h"
#include "PageTestSupport.h"

#include <QCheckBox>

namespace {

constexpr int kBackground = 1002;
constexpr int kBorderColour = 1003;
constexpr int kThickness = 1005;
constexpr int kBorderStyle = 1006;
constexpr int kSpacing = 1008;
constexpr int kMargin = 1012;
constexpr int kFont = 2823;
constexpr int kFamily = 2801;
constexpr int kSize = 2802;
constexpr int kBold = 2803;
constexpr int kItalic = 2804;
constexpr int kOk = 1;

class AppearancePageTest : public PageTest
{
protected:
    void Open()
    {
        page = std::make_unique<ViewAppearance>(doc);
        page->OnInitialUpdate();
    }

    void ChooseBorderStyle(int index)
    {
        auto* list = page->Control<QComboBox>(kBorderStyle);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    bool BorderControlsEnabled() const
    {
        const bool thickness = page->Control(kThickness)->isEnabled();
        EXPECT_EQ(thickness, page->Control(kBorderColour)->isEnabled());
        return thickness;
    }

    std::vector<QByteArray> Families() const
    {
        return CurrentAppState().FontFamilyHistory.Entries();
    }

    std::unique_ptr<ViewAppearance> page;
};

TEST_F(AppearancePageTest, ANewProjectShowsItsDefaultsAndCommitsNothing)
{
    Open();
    EXPECT_EQ(page->Control<QComboBox>(kBorderStyle)->currentText(), "Dip");
    EXPECT_EQ(TextOf(*page, kThickness), "5");
    EXPECT_EQ(TextOf(*page, kSpacing), "5");
    EXPECT_EQ(TextOf(*page, kMargin), "5");
    EXPECT_EQ(page->Control<ColourButton>(kBackground)->colour(), MakeColour(192, 220, 192));
    EXPECT_TRUE(BorderControlsEnabled());
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(AppearancePageTest, SpacingOutsideItsRangeKeepsTheUserOnThePage)
{
    Open();
    Type(*page, kThickness, "9");
    Type(*page, kSpacing, "21");
    Type(*page, kMargin, "7");
    prompts.AnswerMessage(PromptAnswer::Ok);
    EXPECT_FALSE(page->Commit());
    EXPECT_EQ(prompts.MessageTexts(), QStringList({ "Please enter an integer between 0 and 20." }));
    // Thickness is taken before spacing, margin after it.
    EXPECT_EQ(doc.borderThickness, 9);
    EXPECT_EQ(doc.spacing, 5);
    EXPECT_EQ(doc.margin, 5);

    Type(*page, kSpacing, "20");
    Type(*page, kThickness, "51");
    prompts.AnswerMessage(PromptAnswer::Ok);
    EXPECT_FALSE(page->Commit());
    EXPECT_EQ(prompts.MessageTexts().last(), "Please enter an integer between 1 and 50.");
    Type(*page, kThickness, "50");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.spacing, 20);
    EXPECT_EQ(doc.margin, 7);
}

TEST_F(AppearancePageTest, BorderControlsFollowTheChosenStyle)
{
    Open();
    ChooseBorderStyle(0);
    EXPECT_FALSE(BorderControlsEnabled());
    // The values stay and are still saved.
    Type(*page, kThickness, "12");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.borderStyle, 0);
    EXPECT_EQ(doc.borderThickness, 12);
    ChooseBorderStyle(3);
    EXPECT_TRUE(BorderControlsEnabled());

    // A bad thickness is reported and stops the exchange before the style, so the controls
    // follow the style last taken and the thickness can still be corrected.
    Type(*page, kThickness, "x");
    prompts.AnswerMessage(PromptAnswer::Ok);
    ChooseBorderStyle(0);
    EXPECT_EQ(prompts.MessageTexts(), QStringList({ "Please enter an integer." }));
    EXPECT_TRUE(BorderControlsEnabled());
    Type(*page, kThickness, "4");
    ChooseBorderStyle(0);
    EXPECT_FALSE(BorderControlsEnabled());
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.borderStyle, 0);
    EXPECT_EQ(doc.borderThickness, 4);
}

TEST_F(AppearancePageTest, AStoredValueOutOfRangeIsReportedWhenThePageOpens)
{
    doc.margin = 30;
    doc.borderStyle = 0;
    prompts.AnswerMessage(PromptAnswer::Ok);
    Open();
    EXPECT_EQ(prompts.MessageTexts(), QStringList({ "Please enter an integer between 0 and 20." }));
    EXPECT_FALSE(BorderControlsEnabled());
}

TEST_F(AppearancePageTest, ColourButtonsReportToTheirOwnValue)
{
    Open();
    emit page->Control<ColourButton>(kBackground)->colourChanged(kBackground, MakeColour(1, 2, 3));
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.backgroundColor, MakeColour(1, 2, 3));
    EXPECT_EQ(doc.borderColor, MakeColour(192, 220, 192));
    emit page->Control<ColourButton>(kBorderColour)->colourChanged(kBorderColour, 0xFF);
    emit page->Control<ColourButton>(kBorderColour)->colourChanged(4711, 0xFF00);
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.borderColor, Colour(0xFF));
    EXPECT_EQ(doc.backgroundColor, MakeColour(1, 2, 3));
}

TEST_F(AppearancePageTest, TheFontDialogEditsTheFontAndRemembersFamilies)
{
    Open();
    OnNextDialog([](QDialog& dialog) {
        auto* family = FindControl<QComboBox>(&dialog, kFamily);
        EXPECT_EQ(family->currentText(), "Arial");
        EXPECT_EQ(family->count(), 3);
        EXPECT_EQ(TextOf(dialog, kSize), "11");
        EXPECT_TRUE(FindControl<QCheckBox>(&dialog, kBold)->isChecked());
        EXPECT_FALSE(FindControl<QCheckBox>(&dialog, kItalic)->isChecked());
        Type(dialog, kFamily, "Courier");
        Type(dialog, kSize, "0");
        FindControl<QCheckBox>(&dialog, kItalic)->setChecked(true);
        Click(dialog, kOk);
    });
    Click(*page, kFont);
    EXPECT_EQ(Families(), std::vector<QByteArray>({ "Courier", "Arial", "TimesRoman", "Courier" }));

    // The same family again is not added twice in a row.
    OnNextDialog([](QDialog& dialog) {
        EXPECT_EQ(TextOf(dialog, kFamily), "Courier");
        Click(dialog, kOk);
    });
    Click(*page, kFont);
    EXPECT_EQ(Families().size(), 4u);

    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.fontFamily, "Courier");
    EXPECT_EQ(doc.fontSize, 0);
    EXPECT_EQ(doc.fontBold, 1);
    EXPECT_EQ(doc.fontItalic, 1);
}

TEST_F(AppearancePageTest, ARefusedSizeStillRemembersTheFamilyButCancelKeepsTheFont)
{
    Open();
    prompts.AnswerMessage(PromptAnswer::Ok);
    OnNextDialog([this](QDialog& dialog) {
        Type(dialog, kFamily, "Verdana");
        Type(dialog, kSize, "256");
        Click(dialog, kOk);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(
            prompts.MessageTexts(), QStringList({ "Please enter an integer between 0 and 255." }));
        dialog.reject();
    });
    Click(*page, kFont);
    EXPECT_EQ(Families().front(), "Verdana");
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.fontFamily, "Arial");
    EXPECT_EQ(doc.fontSize, 11);
}

} // namespace
