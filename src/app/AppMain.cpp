#include "app/AppMain.h"

#include "app/DialogNewOpenProject.h"
#include "app/FrameMain.h"
#include "app/SplashWindow.h"
#include "framework/DocumentManager.h"
#include "framework/PageTabWindow.h"
#include "generate/MemberKeys.h"
#include "model/ProjectReadAhead.h"
#include "publish/PreviewServer.h"
#include "util/ClassPath.h"
#include "util/Paths.h"
#include "util/PreviewDirectory.h"
#include "util/ProgramInfo.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace {

void Print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Calls back once, after a window has first drawn itself on the screen: a widget window paints
// while it handles its first exposure, so a call queued from there comes after the painting.
class AfterFirstExposure : public QObject
{
public:
    AfterFirstExposure(QWindow* window, std::function<void()> call)
        : QObject(window)
        , m_call(std::move(call))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, m_call);
        }
        return false;
    }

private:
    std::function<void()> m_call;
};

} // namespace

AppMain::AppMain(const QStringList& arguments, AppOptions options)
    : m_commandLine(CommandLine::Parse(arguments))
    , m_options(std::move(options))
{
}

AppMain::~AppMain()
{
    ExitInstance();
}

void AppMain::SetReadAhead(std::unique_ptr<ProjectReadAhead> readAhead)
{
    m_readAhead = std::move(readAhead);
}

int AppMain::Run()
{
    if (m_commandLine.action != CommandLine::Action::Run)
        return m_commandLine.Answer();

    const QString screenshot = qEnvironmentVariable("ZARNITH_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        // A picture of the main window alone: no dialog may wait for an answer.
        m_options.offerNewOpenDialog = false;
        m_options.showSplash = false;
    }
    if (!InitInstance()) {
        ExitInstance();
        return 1;
    }
    if (!screenshot.isEmpty()) {
        // The page is chosen before the window first draws itself, and the picture is what it drew.
        const QString page = qEnvironmentVariable("ZARNITH_SCREENSHOT_PAGE");
        if (!page.isEmpty() && !ShowPage(page)) {
            ExitInstance();
            return 1;
        }
        new AfterFirstExposure(m_frame->windowHandle(),
            [this, screenshot] { QCoreApplication::exit(SaveScreenshot(screenshot) ? 0 : 1); });
    }
    const int status = QCoreApplication::exec();
    ExitInstance();
    return status;
}

bool AppMain::InitInstance()
{
    m_started = true;
    m_newOpenDialogRequested = false;

    m_histories.UrlHistory = { "http://www.velto.example/zarnith/", "mailto:info@velto.example" };
    m_histories.FontFamilyHistory = { "Arial", "TimesRoman", "Courier" };

    m_browser = ExternalBrowser::AtStartUp();
    SetClassPath(ClassPathForProgram(ProgramDirectory(), m_browser.userClassPath));

    // The recent-file list is read here, with the one document it serves.
    m_documents = std::make_unique<DocumentManager>(m_doc);
    m_documents->SetReadAhead(std::move(m_readAhead));
    DocumentManager* documents = m_documents.get();
    // Before the pages hear of the new project, so that nothing of the last one reaches them. The
    // file's name is set before the reset, and again by Save As.
    QObject::connect(documents, &DocumentManager::documentReset, documents, [this, documents] {
        m_project = ProjectState();
        m_project.filePath = QFile::encodeName(documents->PathName());
    });
    QObject::connect(documents, &DocumentManager::titleChanged, documents,
        [this, documents] { m_project.filePath = QFile::encodeName(documents->PathName()); });
    // A saved project holds the keys its members need, as a publish would give them.
    documents->SetBeforeWrite([this] { KeepAreaKeysCurrent(m_doc); });

    m_newOpenDialogRequested = m_commandLine.projectFile.isEmpty();

    m_frame = std::make_unique<FrameMain>(m_doc, *m_documents, m_project, m_histories, m_browser);
    if (m_options.showSplash)
        m_splash = new SplashWindow(m_frame.get());
    if (m_commandLine.projectFile.isEmpty())
        m_documents->FileNew();
    else if (!m_documents->OpenDocumentFile(m_commandLine.projectFile))
        return false;
    if (m_splash)
        m_splash->show();
    m_frame->show();
    // From here on every New, Open, Save and close asks the active page first.
    m_documents->SetCommitGate([this] { return CommitActivePage(); });

    if (m_newOpenDialogRequested && m_options.offerNewOpenDialog)
        ShowNewOpenDialog();
    return true;
}

void AppMain::ExitInstance()
{
    if (!m_started || m_exited)
        return;
    m_exited = true;
    if (m_splash)
        m_splash->close();
    m_frame.reset();

    m_browser.WriteSettings();
    StopPreviewServer();
    DeletePreviewFiles(m_options.previewDirectory.isEmpty() ? ExistingPreviewDirectory()
                                                            : m_options.previewDirectory);
    SetClassPath(m_browser.userClassPath);
}

bool AppMain::CommitActivePage() const
{
    return !m_frame || m_frame->CommitActivePage();
}

void AppMain::ShowNewOpenDialog()
{
    QStringList recentFiles = m_documents->RecentFiles();
    while (recentFiles.size() < DocumentManager::kRecentFileCount)
        recentFiles.append(QString());
    DialogNewOpenProject dialog(recentFiles, m_frame.get());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.Choice() == DialogNewOpenProject::kBlankProject) {
        m_documents->FileNew();
        return;
    }
    const QByteArray entry = dialog.SelectedEntry();
    if (entry == LoadResourceText(IDS_MORE_FILES)) {
        m_documents->FileOpen();
        return;
    }
    // An empty slot names no file: the blank project stays.
    if (entry.isEmpty())
        return;
    // Through the recent list, so that an entry that no longer opens leaves it.
    const QString path = QString::fromLocal8Bit(entry);
    const int recentIndex = m_documents->RecentFiles().indexOf(path);
    if (recentIndex >= 0)
        m_documents->OpenRecentFile(recentIndex);
    else
        m_documents->OpenDocumentFile(path);
}

bool AppMain::ShowPage(const QString& label) const
{
    PageTabWindow* tabs = m_frame->Tabs();
    for (int index = 0; index < tabs->count(); ++index) {
        if (tabs->tabText(index).remove(QLatin1Char('&')).compare(label, Qt::CaseInsensitive) == 0)
            return tabs->activateTab(index);
    }
    Print(stderr, QStringLiteral("There is no page named %1\n").arg(label));
    return false;
}

bool AppMain::SaveScreenshot(const QString& path) const
{
    // The screen's copy of the window, as drawn; where the platform keeps none, a drawing of it.
    QPixmap picture = m_frame->screen()->grabWindow(m_frame->winId());
    if (picture.isNull())
        picture = m_frame->grab();
    const bool saved = picture.save(path);
    if (saved)
        Print(stdout, QStringLiteral("Saved a picture of the main window to %1\n").arg(path));
    else
        Print(stderr,
            QStringLiteral("Could not save a picture of the main window to %1\n").arg(path));
    return saved;
}
