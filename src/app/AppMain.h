#pragma once

#include "app/CommandLine.h"
#include "app/SplashWindow.h"
#include "model/Doc.h"
#include "pages/History.h"
#include "publish/ExternalBrowser.h"
#include "publish/ProjectState.h"

#include <QByteArray>
#include <QPointer>
#include <QStringList>

#include <memory>

class DocumentManager;
class FrameMain;
class ProjectReadAhead;

// How a run differs from the usual one (tests, screenshots).
struct AppOptions
{
    // The preview folder whose files exit deletes; empty: the one in use, if any.
    QByteArray previewDirectory;
    bool showSplash = true;
    // Start-up offers the New/Open Project dialog when no project was named.
    bool offerNewOpenDialog = true;
};

// The application: start-up (histories, settings, CLASSPATH, program information, the one
// project and the main frame, then the New/Open Project dialog when no project was named), the
// commit gate, and exit (settings written back, preview server stopped, preview files deleted,
// CLASSPATH restored).
class AppMain
{
public:
    explicit AppMain(const QStringList& arguments, AppOptions options = {});
    // Runs the exit steps if start-up ran and exit has not.
    ~AppMain();
    AppMain(const AppMain&) = delete;
    AppMain& operator=(const AppMain&) = delete;

    // The whole run: usage and version texts, or start-up, the event loop and exit. With
    // ZARNITH_SCREENSHOT=<path> in the environment the main window is saved as a picture once
    // shown, on the page whose tab ZARNITH_SCREENSHOT_PAGE names (any case; the first page when
    // empty), and the program ends. Returns the process's exit status.
    int Run();

    // The project the command line names, being read since before the application object: start-up
    // opens it from there.
    void SetReadAhead(std::unique_ptr<ProjectReadAhead> readAhead);

    // Start-up, in its fixed order. False when the named project could not be opened: the
    // program ends.
    bool InitInstance();
    // The exit steps; once only.
    void ExitInstance();

    // Before anything leaves the active page: its commit. True when it agreed or there is no
    // main window.
    bool CommitActivePage() const;
    // Offers a blank project, a recent one, or the Open dialog, and carries out the choice.
    void ShowNewOpenDialog();

    Doc& Document() { return m_doc; }
    // What the window keeps about the open project; a new one for every New and Open.
    ProjectState& Project() { return m_project; }
    // The browser Browser Preview starts, as start-up found it; written back at exit.
    ExternalBrowser& Browser() { return m_browser; }
    DocumentManager& Documents() const { return *m_documents; }
    FrameMain* MainFrame() const { return m_frame.get(); }
    SplashWindow* Splash() const { return m_splash; }
    // Set by start-up when no project was named.
    bool NewOpenDialogRequested() const { return m_newOpenDialogRequested; }

private:
    bool SaveScreenshot(const QString& path) const;
    // Shows the page whose tab label is label; false, with a message, when there is none.
    bool ShowPage(const QString& label) const;

    CommandLine m_commandLine;
    AppOptions m_options;
    Doc m_doc;
    ProjectState m_project;
    Histories m_histories;
    ExternalBrowser m_browser;
    std::unique_ptr<ProjectReadAhead> m_readAhead;
    std::unique_ptr<DocumentManager> m_documents;
    std::unique_ptr<FrameMain> m_frame;
    QPointer<SplashWindow> m_splash;
    bool m_newOpenDialogRequested = false;
    bool m_started = false;
    bool m_exited = false;
};
