#pragma once

#include "forms/PublishDialogForm.h"
#include "framework/DialogBase.h"
#include "generate/PublishPlan.h"

#include <QByteArray>

#include <functional>
#include <variant>

// Publish to Folder's confirmation: the folder, every file the publish will write (with what it
// is made or copied from), what the site folder leaves out and why, and any clash, which keeps
// Publish disabled. Browse... chooses another folder and plans again.
class DialogPublish : public DialogBase
{
    Q_OBJECT

public:
    using Planner = std::function<std::variant<PublishPlan, PlanProblem>(const QByteArray& folder)>;

    DialogPublish(const QByteArray& folder, Planner planner, QWidget* parent);

    const QByteArray& Folder() const { return m_folder; }
    // The plan for Folder(); only when it could be made (Publish is enabled only then).
    const PublishPlan& Plan() const { return std::get<PublishPlan>(m_planned); }

protected:
    void OnInitDialog() override;

private:
    void Replan();
    void OnBrowse();

    const PublishDialogForm m_ui;
    QByteArray m_folder;
    Planner m_planner;
    std::variant<PublishPlan, PlanProblem> m_planned;
};
