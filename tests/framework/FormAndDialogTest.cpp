#include "forms/AllForms.h"
#include "framework/DialogBase.h"
#include "framework/FormView.h"
#include "framework/ResourceIcon.h"
#include "model/Doc.h"
#include "pages/History.h"
#include "pages/ViewAppearance.h"
#include "pages/ViewGeneral.h"
#include "pages/ViewGenerate.h"
#include "pages/ViewLock.h"
#include "pages/ViewResponses.h"
#include "preview/ViewPreview.h"
#include "publish/ExternalBrowser.h"
#include "publish/ProjectState.h"
#include "support/TestPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>

#include <gtest/gtest.h>
#include <memory>

namespace {

// The Font dialog's template with a family, a size and a bold flag.
class FontLikeDialog : public DialogBase
{
public:
    FontLikeDialog()
        : DialogBase(FontDialogForm::kTemplateId)
    {
    }

    const FontDialogForm ui = FormControls<FontDialogForm>(*this);
    QByteArray family = "Arial";
    std::int32_t size = 10;
    std::int32_t bold = 0;
    int initialisations = 0;

protected:
    void Exchange(DataExchange& exchange) override
    {
        exchange.Check(ui.boldCheck, bold);
        exchange.Text(ui.familyCombo, family);
        exchange.Integer(ui.sizeCombo, size, 0, 255);
    }

    void OnInitDialog() override
    {
        ++initialisations;
        DialogBase::OnInitDialog();
    }
};

// A page that edits the document's width the way every page edits its fields.
class WidthPage : public FormView
{
public:
    explicit WidthPage(Doc& doc)
        : FormView(GeneralPageForm::kTemplateId, doc, nullptr, GeneralPageForm::Id::picturePanel)
    {
    }

    const GeneralPageForm ui = FormControls<GeneralPageForm>(*this);
    std::int32_t width = 0;

    void OnInitialUpdate() override
    {
        width = Document().width;
        FormView::OnInitialUpdate();
    }

    bool Commit() override
    {
        const bool ok = UpdateData(true);
        if (width != Document().width) {
            Document().width = width;
            Document().SetModified();
        }
        return ok;
    }

protected:
    void Exchange(DataExchange& exchange) override
    {
        exchange.Integer(ui.widthEdit, width, 1, 5000);
    }
};

// How many different colours the widget shows inside rect.
int ColoursIn(QWidget& widget, const QRect& rect)
{
    const QImage image = widget.grab().toImage();
    QSet<QRgb> colours;
    for (int y = rect.top(); y <= rect.bottom() && y < image.height(); y += 3) {
        for (int x = rect.left(); x <= rect.right() && x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    }
    return int(colours.size());
}

} // namespace

TEST(DialogBase, EachRunPushesTheValuesAndCancelTakesNothing)
{
    FontLikeDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Font"));
    EXPECT_TRUE(dialog.isModal());
    dialog.show();
    EXPECT_EQ(dialog.initialisations, 1);
    EXPECT_EQ(dialog.ui.sizeCombo->currentText(), QStringLiteral("10"));
    EXPECT_EQ(dialog.ui.familyCombo->currentText(), QStringLiteral("Arial"));

    // Cancel and the close box take nothing.
    dialog.ui.sizeCombo->setEditText(QStringLiteral("20"));
    dialog.ui.cancelButton->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.size, 10);

    dialog.size = 12;
    dialog.show();
    EXPECT_EQ(dialog.initialisations, 2);
    EXPECT_EQ(dialog.ui.sizeCombo->currentText(), QStringLiteral("12"));
    dialog.ui.sizeCombo->setEditText(QStringLiteral("20"));
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.size, 12);
}

TEST(DialogBase, OkStaysOpenOnARefusedValueAndClosesOnceAllAreTaken)
{
    TestPrompts prompts;
    FontLikeDialog dialog;
    dialog.show();
    dialog.ui.boldCheck->setChecked(true);
    dialog.ui.familyCombo->setEditText(QStringLiteral("Courier"));
    dialog.ui.sizeCombo->setEditText(QStringLiteral("300"));
    prompts.AnswerMessage(PromptAnswer::Ok);

    dialog.ui.okButton->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(
        prompts.MessageTexts(), QStringList({ "Please enter an integer between 0 and 255." }));
    // Values exchanged before the refused one are already taken.
    EXPECT_EQ(dialog.bold, 1);
    EXPECT_EQ(dialog.family, "Courier");
    EXPECT_EQ(dialog.size, 10);

    dialog.ui.sizeCombo->setEditText(QStringLiteral("14"));
    dialog.ui.okButton->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.size, 14);
}

TEST(DialogBase, ThePicturePanelFillsItsPlaceholder)
{
    class About : public DialogBase
    {
    public:
        About()
            : DialogBase(AboutDialogForm::kTemplateId, nullptr, AboutDialogForm::Id::picturePanel)
        {
        }
    } about;
    class Plain : public DialogBase
    {
    public:
        Plain()
            : DialogBase(AboutDialogForm::kTemplateId)
        {
        }
    } plain;
    const QRect panel = FormControls<AboutDialogForm>(about).picturePanel->geometry();
    EXPECT_GT(ColoursIn(about, panel), 8);
    EXPECT_LE(ColoursIn(plain, panel), 2);
}

TEST(FormView, InitialUpdateShowsTheDocumentAndCommitWritesOnlyAcceptedValues)
{
    TestPrompts prompts;
    Doc doc;
    doc.width = 640;
    WidthPage page(doc);
    page.show();
    page.OnInitialUpdate();
    auto* edit = page.ui.widthEdit;
    EXPECT_EQ(edit->text(), QStringLiteral("640"));

    edit->setText(QStringLiteral("800"));
    EXPECT_TRUE(page.Commit());
    EXPECT_EQ(doc.width, 800);
    EXPECT_TRUE(doc.IsModified());

    edit->setText(QStringLiteral("0"));
    prompts.AnswerMessage(PromptAnswer::Ok);
    EXPECT_FALSE(page.Commit());
    EXPECT_EQ(doc.width, 800);
    EXPECT_EQ(
        prompts.MessageTexts(), QStringList({ "Please enter an integer between 1 and 5000." }));
    EXPECT_EQ(page.focusWidget(), edit);

    // The update notification shows the page's own value again, not the document's.
    page.width = 1024;
    page.OnUpdate();
    EXPECT_EQ(edit->text(), QStringLiteral("1024"));
    EXPECT_EQ(doc.width, 800);
}

TEST(FormView, EveryPageIsBuiltOnItsTemplateWithItsPanelAndCommitsWhatItLoaded)
{
    TestPrompts prompts;
    Doc doc;
    doc.ResetProject();
    ProjectState project;
    Histories histories;
    const ExternalBrowser browser;
    struct Page
    {
        std::unique_ptr<FormView> view;
        int templateId;
        bool hasPanel;
    };
    Page pages[] = {
        { std::make_unique<ViewLock>(doc, histories.UrlHistory), LocksPageForm::kTemplateId, true },
        { std::make_unique<ViewGeneral>(doc), GeneralPageForm::kTemplateId, true },
        { std::make_unique<ViewResponses>(doc, histories.UrlHistory),
            ResponsesPageForm::kTemplateId, true },
        { std::make_unique<ViewAppearance>(doc, histories.FontFamilyHistory),
            AppearancePageForm::kTemplateId, true },
        { std::make_unique<ViewGenerate>(doc, project, browser), GeneratePageForm::kTemplateId, true },
        { std::make_unique<ViewPreview>(doc, project), PreviewPageForm::kTemplateId, false },
    };
    const QImage picture = ResourceBitmap(300);
    ASSERT_FALSE(picture.isNull());
    const QImage lastRow = picture.copy(0, picture.height() - 1, picture.width(), 1)
                               .convertToFormat(QImage::Format_RGB32);
    for (Page& page : pages) {
        SCOPED_TRACE(page.templateId);
        const std::optional<DialogTemplate> dialogTemplate = LoadDialogTemplate(page.templateId);
        ASSERT_TRUE(dialogTemplate.has_value());
        EXPECT_EQ(dialogTemplate->kind, TemplateKind::Page);
        EXPECT_EQ(page.view->size(),
            TemplateBuilder(*dialogTemplate).Units().ToPixels(dialogTemplate->size));
        page.view->OnInitialUpdate();
        EXPECT_TRUE(page.view->Commit());
        EXPECT_FALSE(doc.IsModified());
        if (!page.hasPanel)
            continue;
        auto* placeholder = page.view->findChild<QWidget*>(QStringLiteral("picturePanel"));
        ASSERT_NE(placeholder, nullptr);
        EXPECT_TRUE(placeholder->isHidden());
        EXPECT_GT(ColoursIn(*page.view, placeholder->geometry()), 8);
        // The whole picture shows, down to its last row.
        const QRect shownLastRow(
            placeholder->pos() + QPoint(0, picture.height() - 1), lastRow.size());
        const QImage shown = page.view->grab().toImage().copy(shownLastRow);
        EXPECT_TRUE(shown.convertToFormat(QImage::Format_RGB32) == lastRow)
            << "the picture is cut off: the page is " << page.view->height() << " pixels high";
    }
}
