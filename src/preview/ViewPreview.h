#pragma once

#include "forms/PreviewPageForm.h"
#include "framework/FormView.h"

#include <memory>

class PreviewBrowser;
struct PreviewNavigation;
struct ProjectState;

// The Preview page: the project's preview page, with the applet and the modern box, in an
// embedded browser, rewritten each time the page is shown and served by the preview server.
// Where a login in the box would go is said in the status bar, and a page of the site folder is
// shown as the member would see it. Without the browser plugin it shows why there is no preview
// and does nothing.
class ViewPreview : public FormView
{
    Q_OBJECT

public:
    // project is what the window keeps about the open project doc.
    ViewPreview(Doc& doc, ProjectState& project, QWidget* parent = nullptr);
    ~ViewPreview() override;

    // Prepares the page for the new project. The browser itself is made (or tried again) when
    // the page is first needed after it: loading the web engine would double the start-up time.
    void OnInitialUpdate() override;
    bool Commit() override;

    // Writes the preview page and its files and shows it (tab selected, or the refresh button).
    void RefreshPreviewPage();
    // Shows the empty page, writing it first when it is not there yet (the blank page button).
    void ShowBlankPage();

signals:
    // A text for the status bar: where a login leads, a try that failed, the browser's own texts.
    void statusTextChanged(const QString& text);

protected:
    void Exchange(DataExchange& exchange) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Makes the browser the first time the plugin can be found, then shows the blank page; once
    // per initial update.
    void CompleteInitialUpdate();
    void PlaceBrowser();
    // Says in the status bar where a login leads; a lock's page of the site folder is also shown,
    // as a member sees it, until Back to the login box.
    void OnNavigation(const PreviewNavigation& navigation);
    // Shows url; a member page offers the way back to the box.
    void Show(const QUrl& url, bool memberPage);
    void ShowLoginBox();

    ProjectState& m_project;
    const PreviewPageForm m_ui;
    std::unique_ptr<PreviewBrowser> m_browser;
    bool m_initialUpdatePending = false;
};
