#include "framework/DialogBase.h"
#include "framework/FormView.h"
#include "model/Doc.h"
#include "pages/ViewAppearance.h"
#include "pages/ViewGeneral.h"
#include "pages/ViewGenerate.h"
#include "pages/ViewLock.h"
#include "pages/ViewResponses.h"
#include "preview/ViewPreview.h"
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
        : DialogBase(2800)
    {
    }

    QByteArray family = "Arial";
    std::int32_t size = 10;
    std::int32_t bold = 0;
    int initialisations = 0;

protected:
    void Exchange(DataExchange& exchange) override
    {
        exchange.Check(2803, bold);
        exchange.Text(2801, family);
        exchange.Integer(2802, size, 0, 255);
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
        : FormView(1900, doc, nullptr, 121)
    {
    }

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
    void Exchange(DataExchange& exchange) override { exchange.Integer(1901, width, 1, 5000); }
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
    EXPECT_EQ(dialog.Control<QComboBox>(2802)->currentText(), QStringLiteral("10"));
    EXPECT_EQ(dialog.Control<QComboBox>(2801)->currentText(), QStringLiteral("Arial"));

    // Cancel and the close box take nothing.
    dialog.Control<QComboBox>(2802)->setEditText(QStringLiteral("20"));
    dialog.Control<QPushButton>(DialogBase::kIdCancel)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.size, 10);

    dialog.size = 12;
    dialog.show();
    EXPECT_EQ(dialog.initialisations, 2);
    EXPECT_EQ(dialog.Control<QComboBox>(2802)->currentText(), QStringLiteral("12"));
    dialog.Control<QComboBox>(2802)->setEditText(QStringLiteral("20"));
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.size, 12);
}

TEST(DialogBase, OkStaysOpenOnARefusedValueAndClosesOnceAllAreTaken)
{
    TestPrompts prompts;
    FontLikeDialog dialog;
    dialog.show();
    dialog.Control<QCheckBox>(2803)->setChecked(true);
    dialog.Control<QComboBox>(2801)->setEditText(QStringLiteral("Courier"));
    dialog.Control<QComboBox>(2802)->setEditText(QStringLiteral("300"));
    prompts.AnswerMessage(PromptAnswer::Ok);

    dialog.Control<QPushButton>(DialogBase::kIdOk)->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(
        prompts.MessageTexts(), QStringList({ "Please enter an integer between 0 and 255." }));
    // Values exchanged before the refused one are already taken.
    EXPECT_EQ(dialog.bold, 1);
    EXPECT_EQ(dialog.family, "Courier");
    EXPECT_EQ(dialog.size, 10);

    dialog.Control<QComboBox>(2802)->setEditText(QStringLiteral("14"));
    dialog.Control<QPushButton>(DialogBase::kIdOk)->click();
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
            : DialogBase(2600, nullptr, 121)
        {
        }
    } about;
    class Plain : public DialogBase
    {
    public:
        Plain()
            : DialogBase(2600)
        {
        }
    } plain;
    const QRect panel = about.Control(121)->geometry();
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
    auto* edit = page.Control<QLineEdit>(1901);
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
    struct Page
    {
        std::unique_ptr<FormView> view;
        int templateId;
        int panelId;
    };
    Page pages[] = {
        { std::make_unique<ViewLock>(doc), 1600, 121 },
        { std::make_unique<ViewGeneral>(doc), 1900, 121 },
        { std::make_unique<ViewResponses>(doc), 2801, 2847 },
        { std::make_unique<ViewAppearance>(doc), 1000, 1011 },
        { std::make_unique<ViewGenerate>(doc), 1700, 121 },
        { std::make_unique<ViewPreview>(doc), 1800, FormView::kNoPanel },
    };
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
        if (page.panelId == FormView::kNoPanel)
            continue;
        QWidget* placeholder = page.view->Control(page.panelId);
        ASSERT_NE(placeholder, nullptr);
        EXPECT_TRUE(placeholder->isHidden());
        EXPECT_GT(ColoursIn(*page.view, placeholder->geometry()), 8);
    }
}
