#pragma once

#include "forms/NewOpenProjectDialogForm.h"
#include "framework/DialogBase.h"

#include <QStringList>

// The first dialog of a run started without a project: keep the blank project, or open one from
// the recent list ("More Files..." for the Open dialog).
class DialogNewOpenProject : public DialogBase
{
    Q_OBJECT

public:
    enum Choice : int { kBlankProject = 0, kExistingProject = 1 };

    // recentFiles has one line per slot of the recent list, empty for a slot without a file.
    explicit DialogNewOpenProject(const QStringList& recentFiles, QWidget* parent = nullptr);

    int Choice() const { return m_choice; }
    // The text of the selected line when the dialog was closed with OK.
    QByteArray SelectedEntry() const { return m_selectedEntry; }

protected:
    void Exchange(DataExchange& exchange) override;
    void OnInitDialog() override;

private:
    void OnChoiceClicked();
    void EnableList();

    const NewOpenProjectDialogForm m_ui;
    QStringList m_recentFiles;
    std::int32_t m_choice = kBlankProject;
    QByteArray m_selectedEntry;
};
