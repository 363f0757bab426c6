#pragma once

#include "forms/LockPropertiesDialogForm.h"
#include "framework/DialogBase.h"
#include "model/LockEntry.h"

struct LockField;

// Edits one lock: user ID, password, the URL to jump to and the target frame. OK refuses an
// empty user ID or URL, and a field the login box could not read back (a "|" outside the URL, a
// control character anywhere), and puts an accepted URL at the front of the URL history.
class DialogLockProperties : public DialogBase
{
    Q_OBJECT

public:
    explicit DialogLockProperties(QWidget* parent = nullptr);

    // The lock shown when the dialog opens, and the one confirmed after OK.
    void SetEntry(const LockEntry& entry) { m_entry = entry; }
    const LockEntry& Entry() const { return m_entry; }
    // With the modern box, OK also refuses a URL it would not follow (see IsWebAddress) and asks
    // before it takes a short password.
    void SetModernBox(bool modernBox) { m_modernBox = modernBox; }

protected:
    void Exchange(DataExchange& exchange) override;
    void OnInitDialog() override;
    void OnOK() override;

private:
    QWidget* FieldControl(const LockField& field) const;

    const LockPropertiesDialogForm m_ui;
    LockEntry m_entry;
    bool m_modernBox = false;
};
