#include "pages/DialogFont.h"

#include "framework/AppState.h"
#include "pages/PageControls.h"

namespace {

constexpr std::int32_t kMinimumSize = 0;
constexpr std::int32_t kMaximumSize = 255;

} // namespace

DialogFont::DialogFont(QWidget* parent)
    : DialogBase(FontDialogForm::kTemplateId, parent)
    , m_ui(FormControls<FontDialogForm>(*this))
{
}

void DialogFont::Exchange(DataExchange& exchange)
{
    exchange.Check(m_ui.boldCheck, m_choice.bold);
    exchange.Check(m_ui.italicCheck, m_choice.italic);
    // Both combos show the values exactly as held, not the first list entry they begin with.
    exchange.Text(m_ui.familyCombo, m_choice.family);
    exchange.Integer(m_ui.sizeCombo, m_choice.size, kMinimumSize, kMaximumSize);
}

void DialogFont::OnInitDialog()
{
    // The list comes first: filling an empty combo would otherwise replace the family's text.
    ShowHistoryInCombo(m_ui.familyCombo, CurrentAppState().FontFamilyHistory, {});
    DialogBase::OnInitDialog();
}

void DialogFont::OnOK()
{
    DialogBase::OnOK();
    // The family is taken before the size, so even a refused size leaves it in the history.
    CurrentAppState().FontFamilyHistory.AddFront(m_choice.family);
}
