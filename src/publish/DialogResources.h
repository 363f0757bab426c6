#pragma once

#include "forms/ResourcesDialogForm.h"
#include "framework/DialogBase.h"

#include <QByteArray>

class Doc;

// Shows the HTML that was just produced and the files the page needs on the server, all
// selected, and copies the selected ones into a folder the user picks (Copy Locally).
class DialogResources : public DialogBase
{
    Q_OBJECT

public:
    DialogResources(Doc& doc, const QByteArray& html, QWidget* parent);

    // Closing is refused while a copy runs inside the dialog.
    void reject() override;

protected:
    void Exchange(DataExchange& exchange) override;
    void OnInitDialog() override;

private:
    void OnSelectAll();
    void OnCopyLocally();
    // The selected entries' paths, in list order.
    QList<QByteArray> SelectedFiles() const;

    const ResourcesDialogForm m_ui;
    QByteArray m_html;
    Doc& m_doc;
};
