#pragma once

#include "forms/FontDialogForm.h"
#include "framework/DialogBase.h"

class History;

// Chooses the login box's font (fontFamily, fontSize, fontBold, fontItalic of the values it
// edits): a family (any name; recent ones offered), a size of 0 to 255 points, bold and italic.
// Every OK press, accepted or not, puts the typed family at the front of the family history.
class DialogFont : public DialogBase
{
    Q_OBJECT

public:
    // familyHistory offers the families entered lately and takes the typed one.
    explicit DialogFont(History& familyHistory, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    const FontDialogForm m_ui;
    History& m_familyHistory;
};
