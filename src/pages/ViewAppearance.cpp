#include "pages/ViewAppearance.h"

#include "model/Doc.h"
#include "pages/DialogFont.h"

ViewAppearance::ViewAppearance(Doc& doc, History& fontFamilyHistory, QWidget* parent)
    : FormView(AppearancePageForm::kTemplateId, doc, parent, AppearancePageForm::Id::picturePanel)
    , m_fontFamilyHistory(fontFamilyHistory)
    , m_ui(FormControls<AppearancePageForm>(*this))
{
    Fields().Field(m_ui.thicknessEdit, &Doc::borderThickness, m_ui.thicknessUpDown);
    Fields().Field(m_ui.borderStyleList, &Doc::borderStyle);
    Fields().Field(m_ui.spacingEdit, &Doc::spacing, m_ui.spacingUpDown);
    Fields().Field(m_ui.marginEdit, &Doc::margin, m_ui.marginUpDown);
    Fields().Field(m_ui.backgroundButton, &Doc::backgroundColor);
    Fields().Field(m_ui.borderColourButton, &Doc::borderColor);
    // The Font dialog edits these.
    Fields().Keep(&Doc::fontFamily);
    Fields().Keep(&Doc::fontSize);
    Fields().Keep(&Doc::fontBold);
    Fields().Keep(&Doc::fontItalic);

    connect(m_ui.fontButton, &QPushButton::clicked, this, &ViewAppearance::OnFont);
    // Only the user's choices count: pushing values into the list must not run the rule.
    connect(
        m_ui.borderStyleList, &QComboBox::activated, this, &ViewAppearance::ApplyBorderStyleRule);
}

void ViewAppearance::OnInitialUpdate()
{
    FormView::OnInitialUpdate();
    ApplyBorderStyleRule();
}

void ViewAppearance::ApplyBorderStyleRule()
{
    UpdateData(true);
    // The page's own style: a refused thickness stops the exchange before the style is taken,
    // so the thickness edit stays enabled for the user to correct it.
    const bool hasBorder = Fields().Copies().borderStyle != std::int32_t(BorderStyle::None);
    m_ui.thicknessEdit->setEnabled(hasBorder);
    m_ui.borderColourButton->setEnabled(hasBorder);
}

void ViewAppearance::OnFont()
{
    DialogFont dialog(m_fontFamilyHistory, this);
    dialog.EditValuesOf(Fields().Copies());
    dialog.exec();
}
