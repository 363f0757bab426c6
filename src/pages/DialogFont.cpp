#include "pages/DialogFont.h"

#include "framework/AppState.h"
#include "pages/PageControls.h"

#include <QComboBox>

namespace {

constexpr int kFamilyCombo = 2801;
constexpr int kSizeCombo = 2802;
constexpr int kBoldCheck = 2803;
constexpr int kItalicCheck = 2804;

constexpr std::int32_t kMinimumSize = 0;
constexpr std::int32_t kMaximumSize = 255;

} // namespace

DialogFont::DialogFont(QWidget* parent)
    : DialogBase(2800, parent)
{
}

void DialogFont::Exchange(DataExchange& exchange)
{
    exchange.Check(kBoldCheck, m_choice.bold);
    exchange.Check(kItalicCheck, m_choice.italic);
    // Both combos show the values exactly as held, not the first list entry they begin with.
    exchange.Text(kFamilyCombo, m_choice.family);
    exchange.Integer(kSizeCombo, m_choice.size, kMinimumSize, kMaximumSize);
}

void DialogFont::OnInitDialog()
{
    // The list comes first: filling an empty combo would otherwise replace the family's text.
    ShowHistoryInCombo(Control<QComboBox>(kFamilyCombo), CurrentAppState().FontFamilyHistory, {});
    DialogBase::OnInitDialog();
}

void DialogFont::OnOK()
{
    DialogBase::OnOK();
    // The family is taken before the size, so even a refused size leaves it in the history.
    CurrentAppState().FontFamilyHistory.AddFront(m_choice.family);
}
