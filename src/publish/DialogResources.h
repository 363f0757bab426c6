#pragma once

#include "forms/ResourcesDialogForm.h"
#include "framework/DialogBase.h"
#include "model/BoxKind.h"
#include "generate/BoxPage.h"

#include <QByteArray>
#include <QList>

class Doc;

// Shows the HTML that was just produced and the files the page of its kind of box needs on the
// server, all selected, and copies the selected ones into a folder the user picks (Copy Locally).
// Files made for the modern box (its lock data file, sounds converted to wave files) are made
// from lockData, the lock data of the page shown, and copied like the others.
class DialogResources : public DialogBase
{
    Q_OBJECT

public:
    DialogResources(Doc& doc, const QByteArray& html, QWidget* parent,
        BoxKind kind = BoxKind::Classic, const QByteArray& lockData = {});

    // Closing is refused while a copy runs inside the dialog.
    void reject() override;

protected:
    void Exchange(DataExchange& exchange) override;
    void OnInitDialog() override;

private:
    void OnSelectAll();
    void OnCopyLocally();
    // The selected entries, in list order.
    QList<BoxResource> SelectedFiles() const;

    const ResourcesDialogForm m_ui;
    QByteArray m_html;
    Doc& m_doc;
    const BoxKind m_kind;
    const QByteArray m_lockData;
    // The list's entries, read from the project when the dialog opens.
    QList<BoxResource> m_resources;
};
