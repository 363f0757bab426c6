#pragma once

#include <QMainWindow>
#include <QStringList>
#include <QUrl>

#include <functional>

class Doc;
class DocumentManager;
class FormView;
class PageTabWindow;
class QAction;
class QLabel;
class QMenu;
struct ExternalBrowser;
struct Histories;
struct ProjectState;

// The program's one top-level window: the seven pages on tabs, the File and Help menus and a
// one-pane status bar. Its size is fixed to the pages. A page is built when it is first shown (or
// PageAt asks for it) and then loads the open project. Every change of page, and closing, first
// asks the active page to commit its values.
class FrameMain : public QMainWindow
{
    Q_OBJECT

public:
    // The commands, numbered as the menus have always numbered them; each QAction's object name is
    // its number.
    enum Command : int {
        kFileNew = 57600,
        kFileOpen = 57601,
        kFileSave = 57603,
        kFileSaveAs = 57604,
        kFileRecent = 57616, // the first recent entry; the others follow
        kAppAbout = 57664,
        kAppExit = 57665,
        kHelpTopics = 57667,
        kContextHelp = 57669,
        kHelp = 57670,
        kAdditionalInformation = 40017,
        kTroubleShooting = 33155,
        kVeltoOnTheWeb = 33151,
        kImportLocks = 2317,
        kExportLocks = 2318,
        kPublishToFolder = 2126,
    };

    enum Page : int {
        kLocks,
        kMembers,
        kGeneral,
        kResponses,
        kAppearance,
        kPreview,
        kGenerate,
        kPageCount
    };

    // project is what the window keeps about the open project doc; histories are the run's
    // lists of recent entries; browser is the one Browser Preview starts.
    FrameMain(Doc& doc, DocumentManager& documents, ProjectState& project, Histories& histories,
        const ExternalBrowser& browser, QWidget* parent = nullptr);
    ~FrameMain() override;

    PageTabWindow* Tabs() const { return m_tabs; }
    FormView* ActivePage() const;
    // The page at index, built and loaded from the document now if it has not been shown yet.
    FormView* PageAt(int index);
    QAction* Action(int command) const;

    // The active page's commit; true when it agreed (or there is no page).
    bool CommitActivePage() const;

    // The addresses of the help commands on the product's web site.
    static QUrl WebHelpUrl(int command);
    // The HTML manual that ships beside the program.
    static QUrl ManualUrl();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreatePages();
    FormView* CreatePage(int index, QWidget* parent);
    void CreateMenus();
    void CreateStatusBar();
    // A command in menu (none: a shortcut of the frame alone).
    QAction* AddCommand(QMenu* menu, int command, const QString& text, const QKeySequence& shortcut,
        const std::function<void()>& handler);
    void UpdateRecentFiles(const QStringList& files);
    void UpdateTitle(const QString& documentTitle);
    void InitialUpdatePages();
    void OnTabSelected(int index);
    void ShowStatusText(const QString& text);

    void OnOpenRecent(int index);
    // File > Import Locks (import true) and Export Locks, after the active page's commit.
    void OnTransferLocks(bool import);
    void OnAbout();
    // Opens url with the desktop's handler; message 600 when no browser could be started.
    void OpenHelpUrl(const QUrl& url);

    Doc& m_doc;
    DocumentManager& m_documents;
    ProjectState& m_project;
    Histories& m_histories;
    const ExternalBrowser& m_browser;
    PageTabWindow* m_tabs = nullptr;
    // Set by the first New or Open: from then on a page loads the document when it is built.
    bool m_documentLoaded = false;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentSeparator = nullptr;
    QList<QAction*> m_recentActions;
    QLabel* m_messagePane = nullptr;
};
