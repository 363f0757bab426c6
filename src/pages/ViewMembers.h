#pragma once

#include "forms/MembersPageForm.h"
#include "framework/FormView.h"
#include "model/MemberArea.h"

#include <QByteArray>

class QStandardItemModel;
struct ProjectState;

#include <cstdint>
#include <vector>

// The Members page: the site folder, the member areas (the files only members may open), new
// area keys, how long a browser may remember a login, and the box's texts for members. The areas
// are the page's copies until the commit, which also carries a renamed or removed area into the
// locks that name it.
class ViewMembers : public FormView
{
    Q_OBJECT

public:
    // project tells where the project's file is, beside which a relative site folder lies.
    ViewMembers(Doc& doc, const ProjectState& project, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    // Also stores the areas, and carries renamed or removed areas into the locks.
    bool Commit() override;

private:
    // An area as the page holds it, with the name the document knows it by (empty for an area
    // the page added). Its key is not the page's: a publish may renew the document's at any time.
    struct AreaRow
    {
        MemberArea area;
        QByteArray storedName;
    };

    void LoadAreas();
    void ShowAreas(int selectRow);
    int SelectedRow() const;
    void OnSelectionChanged();
    // Runs the area dialog on a copy of the area of row (-1: a new area); on OK writes it back.
    bool EditArea(MemberArea& area, int row);
    // Renames and removals of areas, into the locks that name them.
    void CarryAreaChangesIntoLocks();

    void OnBrowse();
    void OnAdd();
    void OnEdit();
    void OnRemove();
    void OnNewKeys();

    const ProjectState& m_project;
    const MembersPageForm m_ui;
    // The areas as the list shows them: name and patterns.
    QStandardItemModel* m_areaModel;
    std::vector<AreaRow> m_areas;
    // New Keys was asked for: the next commit leaves every area without its key.
    bool m_forgetKeys = false;
};
