#pragma once

#include "forms/GeneratePageForm.h"
#include "framework/FormView.h"

struct ProjectState;

struct ExternalBrowser;

// The Generate page: reading locks from a file, the project's kind of login box (with a line on
// what that kind means) and its iteration count, and the outputs (browser preview, the HTML
// segment on the clipboard, an HTML file, Publish to Folder), each of which commits the page
// first.
class ViewGenerate : public FormView
{
    Q_OBJECT

public:
    // project is what the window keeps about the open project doc; browser is the one Browser
    // Preview starts.
    ViewGenerate(
        Doc& doc, ProjectState& project, const ExternalBrowser& browser, QWidget* parent = nullptr);

    void OnInitialUpdate() override;

private:
    void OnReadFromFileClicked();
    void OnBoxKindChosen(int index);
    void ShowBoxKindNote();
    void OnDetails();
    void OnPreview();
    void OnCopy();
    void OnCreateFile();
    void OnPublish();

    ProjectState& m_project;
    const ExternalBrowser& m_browser;
    const GeneratePageForm m_ui;
};
