#include "pages/DialogFont.h"

#include "model/Doc.h"
#include "pages/History.h"
#include "pages/PageControls.h"

DialogFont::DialogFont(History& familyHistory, QWidget* parent)
    : DialogBase(FontDialogForm::kTemplateId, parent)
    , m_ui(FormControls<FontDialogForm>(*this))
    , m_familyHistory(familyHistory)
{
    Fields().Field(m_ui.boldCheck, &Doc::fontBold);
    Fields().Field(m_ui.italicCheck, &Doc::fontItalic);
    // Both combos show the values exactly as held, not the first list entry they begin with.
    Fields().Field(m_ui.familyCombo, &Doc::fontFamily);
    Fields().Field(m_ui.sizeCombo, &Doc::fontSize);
}

void DialogFont::OnInitDialog()
{
    // The list comes first: filling an empty combo would otherwise replace the family's text.
    ShowHistoryInCombo(m_ui.familyCombo, m_familyHistory, {});
    DialogBase::OnInitDialog();
}

void DialogFont::OnOK()
{
    DialogBase::OnOK();
    // The family is taken before the size, so even a refused size leaves it in the history.
    m_familyHistory.AddFront(Fields().Copies().fontFamily);
}
