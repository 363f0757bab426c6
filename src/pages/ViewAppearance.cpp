#include "pages/ViewAppearance.h"

#include "framework/FieldCommit.h"

namespace {

constexpr std::int32_t kMinimumThickness = 1;
constexpr std::int32_t kMaximumThickness = 50;
constexpr std::int32_t kMinimumGap = 0;
constexpr std::int32_t kMaximumGap = 20;
constexpr std::int32_t kNoBorder = 0;

} // namespace

ViewAppearance::ViewAppearance(Doc& doc, QWidget* parent)
    : FormView(AppearancePageForm::kTemplateId, doc, parent, AppearancePageForm::Id::picturePanel)
    , m_ui(FormControls<AppearancePageForm>(*this))
{
    connect(m_ui.backgroundButton, &ColourButton::colourChanged, this,
        &ViewAppearance::OnBackgroundColour);
    connect(m_ui.borderColourButton, &ColourButton::colourChanged, this,
        &ViewAppearance::OnBorderColour);
    connect(m_ui.fontButton, &QPushButton::clicked, this, &ViewAppearance::OnFont);
    // Only the user's choices count: pushing values into the list must not run the rule.
    connect(
        m_ui.borderStyleList, &QComboBox::activated, this, &ViewAppearance::ApplyBorderStyleRule);
}

void ViewAppearance::Exchange(DataExchange& exchange)
{
    exchange.Integer(m_ui.thicknessEdit, m_borderThickness, kMinimumThickness, kMaximumThickness);
    exchange.ComboIndex(m_ui.borderStyleList, m_borderStyle);
    exchange.Integer(m_ui.spacingEdit, m_spacing, kMinimumGap, kMaximumGap);
    exchange.Integer(m_ui.marginEdit, m_margin, kMinimumGap, kMaximumGap);
}

void ViewAppearance::OnInitialUpdate()
{
    Load();
    FormView::OnInitialUpdate();
    m_ui.spacingUpDown->setRange(kMinimumGap, kMaximumGap);
    m_ui.marginUpDown->setRange(kMinimumGap, kMaximumGap);
    m_ui.thicknessUpDown->setRange(kMinimumThickness, kMaximumThickness);
    m_ui.backgroundButton->setColour(m_backgroundColor);
    m_ui.borderColourButton->setColour(m_borderColor);
    ApplyBorderStyleRule();
}

void ViewAppearance::Load()
{
    const Doc& doc = Document();
    m_backgroundColor = doc.backgroundColor;
    m_spacing = doc.spacing;
    m_margin = doc.margin;
    m_borderThickness = doc.borderThickness;
    m_borderStyle = doc.borderStyle;
    m_borderColor = doc.borderColor;
    m_font = { doc.fontFamily, doc.fontSize, doc.fontBold, doc.fontItalic };
}

bool ViewAppearance::Commit()
{
    const bool ok = UpdateData(true);
    Doc& doc = Document();
    FieldCommit commit(doc);
    commit.Field(doc.backgroundColor, m_backgroundColor);
    commit.Field(doc.spacing, m_spacing);
    commit.Field(doc.margin, m_margin);
    commit.Field(doc.borderThickness, m_borderThickness);
    commit.Field(doc.borderStyle, m_borderStyle);
    commit.Field(doc.borderColor, m_borderColor);
    commit.Field(doc.fontFamily, m_font.family);
    commit.Field(doc.fontSize, m_font.size);
    commit.Field(doc.fontBold, m_font.bold);
    commit.Field(doc.fontItalic, m_font.italic);
    return ok;
}

void ViewAppearance::ApplyBorderStyleRule()
{
    UpdateData(true);
    // The page's own style: a refused thickness stops the exchange before the style is taken,
    // so the thickness edit stays enabled for the user to correct it.
    const bool hasBorder = m_borderStyle != kNoBorder;
    m_ui.thicknessEdit->setEnabled(hasBorder);
    m_ui.borderColourButton->setEnabled(hasBorder);
}

void ViewAppearance::OnBackgroundColour(Colour colour)
{
    m_backgroundColor = colour;
}

void ViewAppearance::OnBorderColour(Colour colour)
{
    m_borderColor = colour;
}

void ViewAppearance::OnFont()
{
    DialogFont dialog(this);
    dialog.SetChoice(m_font);
    if (dialog.exec() == QDialog::Accepted)
        m_font = dialog.Choice();
}
