#include "pages/DialogLockProperties.h"

#include "framework/Prompts.h"
#include "model/BoxReferences.h"
#include "model/DocFields.h"
#include "model/LockCheck.h"
#include "pages/History.h"
#include "pages/PageControls.h"
#include "util/StringIds.h"

DialogLockProperties::DialogLockProperties(History& urlHistory, QWidget* parent)
    : DialogBase(LockPropertiesDialogForm::kTemplateId, parent)
    , m_ui(FormControls<LockPropertiesDialogForm>(*this))
    , m_urlHistory(urlHistory)
{
    // Every area shows every line ticked; unticking it leaves them to be chosen.
    connect(m_ui.everyAreaCheck, &QCheckBox::toggled, m_ui.areaList, [this](bool every) {
        m_ui.areaList->setEnabled(!every);
        for (int row = 0; every && row < m_ui.areaList->count(); ++row)
            m_ui.areaList->item(row)->setCheckState(Qt::Checked);
    });
}

void DialogLockProperties::Exchange(DataExchange& exchange)
{
    exchange.Text(m_ui.userIdEdit, m_entry.userId);
    exchange.Text(m_ui.passwordEdit, m_entry.password);
    // Pushing selects the first entry the value begins with, so a target typed "_TOP" comes
    // back as "_top".
    exchange.ComboText(m_ui.urlCombo, m_entry.url);
    exchange.ComboText(m_ui.targetCombo, m_entry.target);
}

void DialogLockProperties::OnInitDialog()
{
    DialogBase::OnInitDialog();
    // The history arrives after the push, so the lock's URL shows exactly as stored rather than
    // as the first history entry it begins with.
    ShowHistoryInCombo(m_ui.urlCombo, m_urlHistory, m_entry.url);
    ShowAreas();
}

void DialogLockProperties::ShowAreas()
{
    const bool everyArea = !m_entry.areas;
    m_ui.everyAreaCheck->setChecked(everyArea);
    m_ui.areaList->clear();
    for (const QByteArray& name : m_areaNames) {
        auto* item = new QListWidgetItem(QString::fromLocal8Bit(name), m_ui.areaList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(
            everyArea || m_entry.areas->contains(name) ? Qt::Checked : Qt::Unchecked);
    }
    const bool haveAreas = !m_areaNames.isEmpty();
    m_ui.areasPrompt->setEnabled(haveAreas);
    m_ui.everyAreaCheck->setEnabled(haveAreas);
    m_ui.areaList->setEnabled(haveAreas && !everyArea);
}

std::optional<QByteArrayList> DialogLockProperties::TickedAreas() const
{
    if (m_ui.everyAreaCheck->isChecked())
        return std::nullopt;
    QByteArrayList ticked;
    for (int row = 0; row < m_ui.areaList->count(); ++row) {
        if (m_ui.areaList->item(row)->checkState() == Qt::Checked)
            ticked.append(m_areaNames[row]);
    }
    return ticked;
}

void DialogLockProperties::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_entry.userId.isEmpty()) {
        ShowResourceMessage(this, IDS_MUST_ENTER_USER, PromptIcon::Warning, PromptButtons::Ok);
        return;
    }
    if (m_entry.url.isEmpty()) {
        ShowResourceMessage(this, IDS_MUST_ENTER_URL, PromptIcon::Warning, PromptButtons::Ok);
        return;
    }
    // A lock the login box would misread is never taken.
    if (const LockField* field = UnreadableField(m_entry)) {
        ShowResourceMessage(this,
            field->mayHoldSeparator ? IDS_LOCK_FIELD_CONTROL : IDS_LOCK_FIELD_SEPARATOR,
            PromptIcon::Warning, PromptButtons::Ok, field->label);
        FocusWithTextSelected(FieldControl(*field));
        return;
    }
    if (const std::optional<QByteArray> refusal
        = m_modernBox ? WebAddressRefusal(m_entry.url) : std::nullopt) {
        CurrentPrompts().MessageBox(
            this, QString::fromLocal8Bit(*refusal), PromptIcon::Warning, PromptButtons::Ok);
        FocusWithTextSelected(m_ui.urlCombo);
        return;
    }
    // A short password is the user's choice, but not an unknowing one.
    if (m_modernBox && IsShortPassword(m_entry.password)
        && ShowResourceMessage(this, IDS_SHORT_PASSWORD, PromptIcon::Question, PromptButtons::YesNo)
            != PromptAnswer::Yes) {
        FocusWithTextSelected(m_ui.passwordEdit);
        return;
    }
    if (!m_areaNames.isEmpty())
        m_entry.areas = TickedAreas();
    done(Accepted);
    m_urlHistory.AddFront(m_entry.url);
}

QWidget* DialogLockProperties::FieldControl(const LockField& field) const
{
    if (field.member == &LockEntry::userId)
        return m_ui.userIdEdit;
    if (field.member == &LockEntry::password)
        return m_ui.passwordEdit;
    if (field.member == &LockEntry::url)
        return m_ui.urlCombo;
    return m_ui.targetCombo;
}
