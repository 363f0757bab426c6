#include "app/FrameMain.h"

#include "app/DialogAbout.h"
#include "app/LockListTransfer.h"
#include "framework/DocumentManager.h"
#include "framework/PageTabWindow.h"
#include "framework/Prompts.h"
#include "framework/ResourceString.h"
#include "pages/History.h"
#include "pages/ViewAppearance.h"
#include "pages/ViewGeneral.h"
#include "pages/ViewGenerate.h"
#include "pages/ViewLock.h"
#include "pages/ViewMembers.h"
#include "pages/ViewResponses.h"
#include "preview/ViewPreview.h"
#include "publish/BrowserLauncher.h"
#include "publish/DocOutputs.h"
#include "util/Paths.h"
#include "util/ProgramInfo.h"
#include "util/StringIds.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>

namespace {

const char kWebSite[] = "http://www.velto.example/zarnith/";

// The status-bar prompt of a command: its string-table text up to the line break.
QString CommandPrompt(int command)
{
    return ResourceString(command).section(QLatin1Char('\n'), 0, 0);
}

// The name a command goes by where no menu shows it: its string-table text after the line break.
QString CommandName(int command)
{
    return ResourceString(command).section(QLatin1Char('\n'), 1, 1);
}

struct PageTab
{
    int label;
    int icon;
};

constexpr PageTab kPageTabs[FrameMain::kPageCount] = {
    { IDS_TAB_LOCKS, 101 },
    { IDS_TAB_MEMBERS, 108 },
    { IDS_TAB_GENERAL, 106 },
    { IDS_TAB_RESPONSES, 212 },
    { IDS_TAB_APPEARANCE, 105 },
    { IDS_TAB_PREVIEW, 104 },
    { IDS_TAB_GENERATE, 103 },
};

QString FirstLocalFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

FrameMain::FrameMain(Doc& doc, DocumentManager& documents, ProjectState& project,
    Histories& histories, const ExternalBrowser& browser, QWidget* parent)
    : QMainWindow(parent)
    , m_doc(doc)
    , m_documents(documents)
    , m_project(project)
    , m_histories(histories)
    , m_browser(browser)
{
    // A fixed size: the frame can be minimized but neither resized nor maximized.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    CreateStatusBar();
    CreatePages();
    CreateMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setAcceptDrops(true);

    connect(&m_documents, &DocumentManager::documentReset, this, &FrameMain::InitialUpdatePages);
    connect(&m_documents, &DocumentManager::titleChanged, this, &FrameMain::UpdateTitle);
    connect(
        &m_documents, &DocumentManager::recentFilesChanged, this, &FrameMain::UpdateRecentFiles);
    UpdateTitle(m_documents.Title());
    UpdateRecentFiles(m_documents.RecentFiles());
    m_documents.SetOwner(this);
}

FrameMain::~FrameMain()
{
    m_documents.SetOwner(nullptr);
}

FormView* FrameMain::ActivePage() const
{
    return static_cast<FormView*>(m_tabs->madePage(m_tabs->currentIndex()));
}

FormView* FrameMain::PageAt(int index)
{
    return static_cast<FormView*>(m_tabs->page(index));
}

QAction* FrameMain::Action(int command) const
{
    return findChild<QAction*>(QString::number(command));
}

bool FrameMain::CommitActivePage() const
{
    FormView* page = ActivePage();
    return !page || page->Commit();
}

QUrl FrameMain::WebHelpUrl(int command)
{
    const char* page = command == kAdditionalInformation ? "lockhelp.html"
        : command == kTroubleShooting                    ? "lockfaq.html"
                                                         : "index.html";
    return QUrl(QLatin1String(kWebSite) + QLatin1String(page));
}

QUrl FrameMain::ManualUrl()
{
    return QUrl::fromLocalFile(QFile::decodeName(ProgramDirectory()) + "help/index.html");
}

void FrameMain::closeEvent(QCloseEvent* event)
{
    if (m_documents.CanCloseFrame())
        event->accept();
    else
        event->ignore();
}

void FrameMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!FirstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void FrameMain::dropEvent(QDropEvent* event)
{
    const QString path = FirstLocalFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    // Opening replaces the project the pages show, so their edits go to the document first.
    if (CommitActivePage())
        m_documents.OpenDocumentFile(path);
}

void FrameMain::CreatePages()
{
    m_tabs = new PageTabWindow(this);
    // Every tab stays in sight: the frame grows to the tab strip when that is wider than a page.
    m_tabs->setUsesScrollButtons(false);
    for (int index = 0; index < kPageCount; ++index) {
        const PageTab& tab = kPageTabs[index];
        m_tabs->addPage(ResourceString(tab.label),
            QIcon(QStringLiteral(":/images/icon%1.png").arg(tab.icon)),
            [this, index](QWidget* parent) {
                FormView* page = CreatePage(index, parent);
                if (m_documentLoaded)
                    page->OnInitialUpdate();
                return page;
            });
    }
    m_tabs->setLeaveGuard([this] { return CommitActivePage(); });
    connect(m_tabs, &PageTabWindow::tabSelected, this, &FrameMain::OnTabSelected);
    m_tabs->activateTab(kLocks);
    setCentralWidget(m_tabs);
}

FormView* FrameMain::CreatePage(int index, QWidget* parent)
{
    switch (Page(index)) {
    case kLocks:
        return new ViewLock(m_doc, m_histories.UrlHistory, parent);
    case kMembers:
        return new ViewMembers(m_doc, m_project, parent);
    case kGeneral:
        return new ViewGeneral(m_doc, parent);
    case kResponses:
        return new ViewResponses(m_doc, m_histories.UrlHistory, parent);
    case kAppearance:
        return new ViewAppearance(m_doc, m_histories.FontFamilyHistory, parent);
    case kPreview: {
        auto* preview = new ViewPreview(m_doc, m_project, parent);
        connect(preview, &ViewPreview::statusTextChanged, this, &FrameMain::ShowStatusText);
        return preview;
    }
    case kGenerate:
        return new ViewGenerate(m_doc, m_project, m_browser, parent);
    case kPageCount:
        break;
    }
    Q_UNREACHABLE();
    return nullptr;
}

QAction* FrameMain::AddCommand(QMenu* menu, int command, const QString& text,
    const QKeySequence& shortcut, const std::function<void()>& handler)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QString::number(command));
    action->setShortcut(shortcut);
    action->setStatusTip(CommandPrompt(command));
    connect(action, &QAction::triggered, this, handler);
    if (menu)
        menu->addAction(action);
    else
        addAction(action);
    return action;
}

void FrameMain::CreateMenus()
{
    DocumentManager& documents = m_documents;
    m_fileMenu = menuBar()->addMenu(ResourceString(IDS_MENU_FILE));
    AddCommand(m_fileMenu, kFileNew, ResourceString(IDS_MENU_FILE_NEW),
        QKeySequence(Qt::CTRL | Qt::Key_N), [&documents] { documents.FileNew(); });
    AddCommand(m_fileMenu, kFileOpen, ResourceString(IDS_MENU_FILE_OPEN),
        QKeySequence(Qt::CTRL | Qt::Key_O), [&documents] { documents.FileOpen(); });
    AddCommand(m_fileMenu, kFileSave, ResourceString(IDS_MENU_FILE_SAVE),
        QKeySequence(Qt::CTRL | Qt::Key_S), [&documents] { documents.FileSave(); });
    AddCommand(m_fileMenu, kFileSaveAs, ResourceString(IDS_MENU_FILE_SAVE_AS), {},
        [&documents] { documents.FileSaveAs(); });
    m_fileMenu->addSeparator();
    AddCommand(m_fileMenu, kImportLocks, ResourceString(IDS_MENU_IMPORT_LOCKS), {},
        [this] { OnTransferLocks(true); });
    AddCommand(m_fileMenu, kExportLocks, ResourceString(IDS_MENU_EXPORT_LOCKS), {},
        [this] { OnTransferLocks(false); });
    m_fileMenu->addSeparator();
    AddCommand(
        m_fileMenu, kPublishToFolder, ResourceString(IDS_MENU_PUBLISH_TO_FOLDER), {}, [this] {
            if (CommitActivePage())
                DocOutputs(m_doc, m_project, this).PublishToFolder();
        });
    m_fileMenu->addSeparator();
    m_recentSeparator = m_fileMenu->addSeparator();
    AddCommand(m_fileMenu, kAppExit, ResourceString(IDS_MENU_EXIT), {}, [this] { close(); });

    const auto openManual = [this] { OpenHelpUrl(ManualUrl()); };
    const auto openWebHelp
        = [this](int command) { return [this, command] { OpenHelpUrl(WebHelpUrl(command)); }; };
    QMenu* help = menuBar()->addMenu(ResourceString(IDS_MENU_HELP));
    AddCommand(help, kHelpTopics, ResourceString(IDS_MENU_HELP_TOPICS), {}, openManual);
    help->addSeparator();
    AddCommand(help, kAdditionalInformation, ResourceString(IDS_MENU_ADDITIONAL_HELP), {},
        openWebHelp(kAdditionalInformation));
    AddCommand(help, kTroubleShooting, ResourceString(IDS_MENU_TROUBLE_SHOOTING), {},
        openWebHelp(kTroubleShooting));
    help->addSeparator();
    AddCommand(
        help, kVeltoOnTheWeb, ResourceString(IDS_MENU_WEB_PAGE), {}, openWebHelp(kVeltoOnTheWeb));
    help->addSeparator();
    AddCommand(help, kAppAbout, ResourceString(IDS_MENU_ABOUT), {}, [this] { OnAbout(); });

    // F1 and Shift+F1 live in no menu; both open the manual.
    AddCommand(nullptr, kHelp, CommandName(kHelp), QKeySequence(Qt::Key_F1), openManual);
    AddCommand(nullptr, kContextHelp, CommandName(kContextHelp),
        QKeySequence(Qt::SHIFT | Qt::Key_F1), openManual);
}

void FrameMain::CreateStatusBar()
{
    // Menu prompts show as temporary messages over the one pane's idle text.
    m_messagePane = new QLabel(ResourceString(IDS_IDLE_MESSAGE));
    m_messagePane->setObjectName(QString::number(59393));
    // The frame has a fixed size, so a grip would offer a resize that never happens.
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_messagePane, 1);
}

void FrameMain::UpdateRecentFiles(const QStringList& files)
{
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    for (int index = 0; index < files.size(); ++index) {
        auto* action = new QAction(
            QStringLiteral("&%1 %2").arg(index + 1).arg(QDir::toNativeSeparators(files.at(index))),
            this);
        action->setObjectName(QString::number(kFileRecent + index));
        action->setStatusTip(CommandPrompt(kFileRecent));
        connect(action, &QAction::triggered, this, [this, index] { OnOpenRecent(index); });
        m_recentActions.append(action);
    }
    if (m_recentActions.isEmpty()) {
        // As the menu has always shown it: the placeholder, greyed, until a file is used.
        auto* placeholder = new QAction(ResourceString(IDS_MENU_RECENT_FILE), this);
        placeholder->setEnabled(false);
        m_recentActions.append(placeholder);
    }
    m_fileMenu->insertActions(m_recentSeparator, m_recentActions);
}

void FrameMain::UpdateTitle(const QString& documentTitle)
{
    setWindowTitle(documentTitle + QStringLiteral(" - ") + ResourceString(IDS_APP_TITLE));
}

void FrameMain::InitialUpdatePages()
{
    m_documentLoaded = true;
    // The pages not built yet load the document when they are.
    for (int index = 0; index < kPageCount; ++index) {
        if (auto* page = static_cast<FormView*>(m_tabs->madePage(index)))
            page->OnInitialUpdate();
    }
}

void FrameMain::OnTabSelected(int index)
{
    ShowStatusText({});
    if (index == kPreview)
        static_cast<ViewPreview*>(PageAt(kPreview))->RefreshPreviewPage();
}

void FrameMain::ShowStatusText(const QString& text)
{
    m_messagePane->setText(text.isEmpty() ? ResourceString(IDS_IDLE_MESSAGE) : text);
}

void FrameMain::OnOpenRecent(int index)
{
    // Opening replaces the project the pages show, so their edits go to the document first.
    if (CommitActivePage())
        m_documents.OpenRecentFile(index);
}

void FrameMain::OnTransferLocks(bool import)
{
    if (!CommitActivePage())
        return;
    LockListTransfer transfer(m_doc, this);
    if (!import) {
        transfer.Export();
        return;
    }
    if (transfer.Import()) {
        if (FormView* locks = static_cast<FormView*>(m_tabs->madePage(kLocks)))
            locks->OnInitialUpdate();
        ShowStatusText(transfer.Summary());
    }
}

void FrameMain::OnAbout()
{
    DialogAbout about(CurrentProgramInfo(), this);
    about.exec();
}

void FrameMain::OpenHelpUrl(const QUrl& url)
{
    if (!CurrentBrowserLauncher().OpenWithDesktop(url))
        ShowResourceMessage(this, IDS_BROWSER_FAILED, PromptIcon::Stop, PromptButtons::Ok);
}
