#pragma once

#include "forms/ResourcesDialogForm.h"
#include "framework/DialogBase.h"
#include "generate/PublishPlan.h"
#include "model/BoxKind.h"

#include <QByteArray>
#include <QList>

class Doc;

// Shows the HTML that was just produced and every file the publish plan of its kind writes (the
// page, the lock files, the sounds, the applet, the site folder's files), each with what it is
// made or copied from, all selected, and writes the selected ones into a folder the user picks
// (Copy Locally). The page written is page (the file form of the page shown; html when empty),
// and the modern box's files are made from lockData, the lock data of the page shown.
class DialogResources : public DialogBase
{
    Q_OBJECT

public:
    // projectPath is the project's file (empty: none), beside which a relative site folder lies.
    DialogResources(Doc& doc, const QByteArray& html, QWidget* parent,
        BoxKind kind = BoxKind::Classic, const QByteArray& lockData = {},
        const QByteArray& page = {}, const QByteArray& projectPath = {});

    // Closing is refused while a copy runs inside the dialog.
    void reject() override;

protected:
    void Exchange(DataExchange& exchange) override;
    void OnInitDialog() override;

private:
    void OnSelectAll();
    void OnCopyLocally();
    // The selected entries' names, in list order.
    QList<QByteArray> SelectedNames() const;

    const ResourcesDialogForm m_ui;
    QByteArray m_html;
    Doc& m_doc;
    const QByteArray m_projectPath;
    const BoxKind m_kind;
    const PublishContent m_content;
    // The list's entries, planned from the project when the dialog opens.
    std::variant<PublishPlan, PlanProblem> m_planned;
};
