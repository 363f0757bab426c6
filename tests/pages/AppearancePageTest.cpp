#include "framework/ColourButton.h"
#include "pages/ViewAppearance.h"
#include "support/PageTestSupport.h"

#include <QCheckBox>

namespace {

class AppearancePageTest : public PageTest
{
protected:
    void Open()
    {
        page = std::make_unique<ViewAppearance>(doc, histories.FontFamilyHistory);
        ui = ControlsOf<AppearancePageForm>(*page);
        page->OnInitialUpdate();
    }

    void ChooseBorderStyle(int index)
    {
        auto* list = ui.borderStyleList;
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    bool BorderControlsEnabled() const
    {
        const bool thickness = ui.thicknessEdit->isEnabled();
        EXPECT_EQ(thickness, ui.borderColourButton->isEnabled());
        return thickness;
    }

    std::vector<QByteArray> Families() const { return histories.FontFamilyHistory.Entries(); }

    std::unique_ptr<ViewAppearance> page;
    AppearancePageForm ui;
};

TEST_F(AppearancePageTest, ANewProjectShowsItsDefaultsAndCommitsNothing)
{
    Open();
    EXPECT_EQ(ui.borderStyleList->currentText(), "Dip");
    EXPECT_EQ(TextOf(ui.thicknessEdit), "5");
    EXPECT_EQ(TextOf(ui.spacingEdit), "5");
    EXPECT_EQ(TextOf(ui.marginEdit), "5");
    EXPECT_EQ(ui.backgroundButton->colour(), MakeColour(192, 220, 192));
    EXPECT_TRUE(BorderControlsEnabled());
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(AppearancePageTest, SpacingOutsideItsRangeKeepsTheUserOnThePage)
{
    Open();
    Type(ui.thicknessEdit, "9");
    Type(ui.spacingEdit, "21");
    Type(ui.marginEdit, "7");
    prompts.AnswerMessage(PromptAnswer::Ok);
    EXPECT_FALSE(page->Commit());
    EXPECT_EQ(prompts.MessageTexts(), QStringList({ "Please enter an integer between 0 and 20." }));
    // Thickness is taken before spacing, margin after it.
    EXPECT_EQ(doc.borderThickness, 9);
    EXPECT_EQ(doc.spacing, 5);
    EXPECT_EQ(doc.margin, 5);

    Type(ui.spacingEdit, "20");
    Type(ui.thicknessEdit, "51");
    prompts.AnswerMessage(PromptAnswer::Ok);
    EXPECT_FALSE(page->Commit());
    EXPECT_EQ(prompts.MessageTexts().last(), "Please enter an integer between 1 and 50.");
    Type(ui.thicknessEdit, "50");
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
    Type(ui.thicknessEdit, "12");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.borderStyle, 0);
    EXPECT_EQ(doc.borderThickness, 12);
    ChooseBorderStyle(3);
    EXPECT_TRUE(BorderControlsEnabled());

    // A bad thickness is reported and stops the exchange before the style, so the controls
    // follow the style last taken and the thickness can still be corrected.
    Type(ui.thicknessEdit, "x");
    prompts.AnswerMessage(PromptAnswer::Ok);
    ChooseBorderStyle(0);
    EXPECT_EQ(prompts.MessageTexts(), QStringList({ "Please enter an integer." }));
    EXPECT_TRUE(BorderControlsEnabled());
    Type(ui.thicknessEdit, "4");
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
    emit ui.backgroundButton->colourChanged(MakeColour(1, 2, 3));
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.backgroundColor, MakeColour(1, 2, 3));
    EXPECT_EQ(doc.borderColor, MakeColour(192, 220, 192));
    emit ui.borderColourButton->colourChanged(0xFF);
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.borderColor, Colour(0xFF));
    EXPECT_EQ(doc.backgroundColor, MakeColour(1, 2, 3));
}

TEST_F(AppearancePageTest, TheFontDialogEditsTheFontAndRemembersFamilies)
{
    Open();
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<FontDialogForm>(dialog);
        auto* family = form.familyCombo;
        EXPECT_EQ(family->currentText(), "Arial");
        EXPECT_EQ(family->count(), 3);
        EXPECT_EQ(TextOf(form.sizeCombo), "11");
        EXPECT_TRUE(form.boldCheck->isChecked());
        EXPECT_FALSE(form.italicCheck->isChecked());
        Type(form.familyCombo, "Courier");
        Type(form.sizeCombo, "0");
        form.italicCheck->setChecked(true);
        Click(form.okButton);
    });
    Click(ui.fontButton);
    EXPECT_EQ(Families(), std::vector<QByteArray>({ "Courier", "Arial", "TimesRoman", "Courier" }));

    // The same family again is not added twice in a row.
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<FontDialogForm>(dialog);
        EXPECT_EQ(TextOf(form.familyCombo), "Courier");
        Click(form.okButton);
    });
    Click(ui.fontButton);
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
        const auto form = ControlsOf<FontDialogForm>(dialog);
        Type(form.familyCombo, "Verdana");
        Type(form.sizeCombo, "256");
        Click(form.okButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(
            prompts.MessageTexts(), QStringList({ "Please enter an integer between 0 and 255." }));
        dialog.reject();
    });
    Click(ui.fontButton);
    EXPECT_EQ(Families().front(), "Verdana");
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.fontFamily, "Arial");
    EXPECT_EQ(doc.fontSize, 11);
}

} // namespace
