#pragma once

#include "forms/InputDetailsDialogForm.h"
#include "framework/DialogBase.h"

class Doc;
struct ProjectState;

// The lock input file's details (lockFile, reloadInterval, loadingMessage of the values it
// edits): its name, how often the login box reads it again (0 to 5000 seconds, though the arrows
// go to 20000) and the message shown while it loads. A button writes the file at once under the
// name typed so far.
class DialogInputDetails : public DialogBase
{
    Q_OBJECT

public:
    // The document supplies the locks written by the button; the dialog changes nothing in it.
    // project is what the window keeps about the open project doc.
    DialogInputDetails(Doc& doc, ProjectState& project, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    void OnWriteInputFile();

    const InputDetailsDialogForm m_ui;
    Doc& m_doc;
    ProjectState& m_project;
};
