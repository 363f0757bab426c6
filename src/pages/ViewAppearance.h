#pragma once

#include "forms/AppearancePageForm.h"
#include "framework/FormView.h"

class History;

// The Appearance page: colours, spacing, margin, font and border. The colours and the font always
// go in at a commit, even when a number is refused.
class ViewAppearance : public FormView
{
    Q_OBJECT

public:
    // fontFamilyHistory is the run's list of font families, which the Font dialog offers and
    // extends.
    ViewAppearance(Doc& doc, History& fontFamilyHistory, QWidget* parent = nullptr);

    void OnInitialUpdate() override;

private:
    // Takes every field (with validation) and lets the thickness and border colour be edited
    // only when there is a border.
    void ApplyBorderStyleRule();
    void OnFont();

    History& m_fontFamilyHistory;
    const AppearancePageForm m_ui;
};
