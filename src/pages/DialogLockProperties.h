#pragma once

#include "forms/LockPropertiesDialogForm.h"
#include "framework/DialogBase.h"
#include "model/LockEntry.h"

#include <QByteArrayList>

#include <optional>

class History;
struct LockField;

// Edits one lock: user ID, password, the URL to jump to, the target frame and the member areas
// it opens (every area, also those added later, or the ones ticked). OK refuses an empty user ID
// or URL, and a field the login box could not read back (a "|" outside the URL, a control
// character anywhere), and puts an accepted URL at the front of the URL history.
class DialogLockProperties : public DialogBase
{
    Q_OBJECT

public:
    // urlHistory offers the URLs entered lately and takes the accepted one.
    explicit DialogLockProperties(History& urlHistory, QWidget* parent = nullptr);

    // The lock shown when the dialog opens, and the one confirmed after OK.
    void SetEntry(const LockEntry& entry) { m_entry = entry; }
    const LockEntry& Entry() const { return m_entry; }
    // With the modern box, OK also refuses a URL it would not follow (see IsWebAddress) and asks
    // before it takes a short password.
    void SetModernBox(bool modernBox) { m_modernBox = modernBox; }
    // The project's areas, in their order. Without any, the lock's areas are left as they are.
    void SetAreaNames(const QByteArrayList& names) { m_areaNames = names; }

protected:
    void Exchange(DataExchange& exchange) override;
    void OnInitDialog() override;
    void OnOK() override;

private:
    QWidget* FieldControl(const LockField& field) const;
    // The area list, one check box a line, as the lock has them.
    void ShowAreas();
    // The areas as ticked: none for every area.
    std::optional<QByteArrayList> TickedAreas() const;

    const LockPropertiesDialogForm m_ui;
    History& m_urlHistory;
    LockEntry m_entry;
    bool m_modernBox = false;
    QByteArrayList m_areaNames;
};
