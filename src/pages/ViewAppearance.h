#pragma once

#include "forms/AppearancePageForm.h"
#include "framework/FormView.h"
#include "model/Doc.h"
#include "pages/DialogFont.h"

#include <cstdint>

// The Appearance page: colours, spacing, margin, font and border.
class ViewAppearance : public FormView
{
    Q_OBJECT

public:
    explicit ViewAppearance(Doc& doc, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    // Stores every value taken before a refused one; the colours and the font always go in.
    bool Commit() override;

protected:
    void Exchange(DataExchange& exchange) override;

private:
    void Load();
    // Takes every field (with validation) and lets the thickness and border colour be edited
    // only when there is a border.
    void ApplyBorderStyleRule();
    void OnBackgroundColour(Colour colour);
    void OnBorderColour(Colour colour);
    void OnFont();

    const AppearancePageForm m_ui;
    std::int32_t m_borderThickness = 0;
    std::int32_t m_borderStyle = -1;
    std::int32_t m_spacing = 0;
    std::int32_t m_margin = 0;
    FontChoice m_font;
    Colour m_backgroundColor = 0;
    Colour m_borderColor = 0;
};
