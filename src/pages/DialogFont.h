#pragma once

#include "forms/FontDialogForm.h"
#include "framework/DialogBase.h"

// Chooses the login box's font (fontFamily, fontSize, fontBold, fontItalic of the values it
// edits): a family (any name; recent ones offered), a size of 0 to 255 points, bold and italic.
// Every OK press, accepted or not, puts the typed family at the front of the family history.
class DialogFont : public DialogBase
{
    Q_OBJECT

public:
    explicit DialogFont(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    const FontDialogForm m_ui;
};
