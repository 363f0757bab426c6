#include "pages/ViewAppearance.h"

#include "framework/ColourButton.h"
#include "framework/FieldCommit.h"
#include "framework/UpDown.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kBackgroundButton = 1002;
constexpr int kBorderColourButton = 1003;
constexpr int kThicknessEdit = 1005;
constexpr int kBorderStyleList = 1006;
constexpr int kSpacingEdit = 1008;
constexpr int kSpacingUpDown = 1009;
constexpr int kThicknessUpDown = 1010;
constexpr int kMarginEdit = 1012;
constexpr int kMarginUpDown = 1013;
constexpr int kFontButton = 2823;

constexpr std::int32_t kMinimumThickness = 1;
constexpr std::int32_t kMaximumThickness = 50;
constexpr std::int32_t kMinimumGap = 0;
constexpr std::int32_t kMaximumGap = 20;
constexpr std::int32_t kNoBorder = 0;

} // namespace

ViewAppearance::ViewAppearance(Doc& doc, QWidget* parent)
    : FormView(1000, doc, parent, 1011)
{
    for (int id : { kBackgroundButton, kBorderColourButton })
        connect(Control<ColourButton>(id), &ColourButton::colourChanged, this,
            &ViewAppearance::OnColourChanged);
    connect(
        Control<QPushButton>(kFontButton), &QPushButton::clicked, this, &ViewAppearance::OnFont);
    // Only the user's choices count: pushing values into the list must not run the rule.
    connect(Control<QComboBox>(kBorderStyleList), &QComboBox::activated, this,
        &ViewAppearance::ApplyBorderStyleRule);
}

void ViewAppearance::Exchange(DataExchange& exchange)
{
    exchange.Integer(kThicknessEdit, m_borderThickness, kMinimumThickness, kMaximumThickness);
    exchange.ComboIndex(kBorderStyleList, m_borderStyle);
    exchange.Integer(kSpacingEdit, m_spacing, kMinimumGap, kMaximumGap);
    exchange.Integer(kMarginEdit, m_margin, kMinimumGap, kMaximumGap);
}

void ViewAppearance::OnInitialUpdate()
{
    Load();
    FormView::OnInitialUpdate();
    Control<UpDown>(kSpacingUpDown)->setRange(kMinimumGap, kMaximumGap);
    Control<UpDown>(kMarginUpDown)->setRange(kMinimumGap, kMaximumGap);
    Control<UpDown>(kThicknessUpDown)->setRange(kMinimumThickness, kMaximumThickness);
    Control<ColourButton>(kBackgroundButton)->setColour(m_backgroundColor);
    Control<ColourButton>(kBorderColourButton)->setColour(m_borderColor);
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
    Control<QLineEdit>(kThicknessEdit)->setEnabled(hasBorder);
    Control<ColourButton>(kBorderColourButton)->setEnabled(hasBorder);
}

void ViewAppearance::OnColourChanged(int controlId, Colour colour)
{
    if (controlId == kBackgroundButton)
        m_backgroundColor = colour;
    else if (controlId == kBorderColourButton)
        m_borderColor = colour;
}

void ViewAppearance::OnFont()
{
    DialogFont dialog(this);
    dialog.SetChoice(m_font);
    if (dialog.exec() == QDialog::Accepted)
        m_font = dialog.Choice();
}
