#pragma once

#include "forms/FontDialogForm.h"
#include "framework/DialogBase.h"

#include <QByteArray>

#include <cstdint>

// A font as the project describes it; bold and italic are 0 or 1.
struct FontChoice
{
    QByteArray family;
    std::int32_t size = 0;
    std::int32_t bold = 0;
    std::int32_t italic = 0;
};

// Chooses the login box's font: a family (any name; recent ones offered), a size of 0 to 255
// points, bold and italic. Every OK press, accepted or not, puts the typed family at the front
// of the family history.
class DialogFont : public DialogBase
{
    Q_OBJECT

public:
    explicit DialogFont(QWidget* parent = nullptr);

    // The font shown when the dialog opens, and the one confirmed after OK.
    void SetChoice(const FontChoice& choice) { m_choice = choice; }
    const FontChoice& Choice() const { return m_choice; }

protected:
    void Exchange(DataExchange& exchange) override;
    void OnInitDialog() override;
    void OnOK() override;

private:
    const FontDialogForm m_ui;
    FontChoice m_choice;
};
