#include "publish/DocOutputs.h"

#include "framework/AppState.h"
#include "framework/Prompts.h"
#include "framework/WaitCursor.h"
#include "generate/CopyResources.h"
#include "generate/HtmlPage.h"
#include "generate/LockInputFile.h"
#include "generate/OutputFile.h"
#include "generate/ResourceList.h"
#include "model/Doc.h"
#include "model/LockCheck.h"
#include "publish/BrowserLauncher.h"
#include "publish/DialogResources.h"
#include "publish/PublishCopy.h"
#include "util/ClassPath.h"
#include "util/Paths.h"
#include "util/PreviewDirectory.h"
#include "util/ProgramInfo.h"
#include "util/StringIds.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QUrl>

namespace {

const char kHtmlFilter[] = "HTML Files (*.html, *.htm)|*.htm;*.html|All Files (*.*)|*.*||";
const char kLockFileFilter[]
    = "Zarnith Input Files (*.txt, *.dat)|*.txt;*.dat|All Files (*.*)|*.*||";

// Asks for the name of a file to write, starting from path; the chosen path replaces it.
bool AskForFileName(QWidget* owner, QByteArray& path, const char* filter, const char* extension)
{
    FileDialogRequest request;
    request.filter = QString::fromLatin1(filter);
    request.defaultExtension = QString::fromLatin1(extension);
    request.initialPath = QFile::decodeName(path);
    const std::optional<QString> chosen = CurrentPrompts().SaveAs(owner, request);
    if (!chosen)
        return false;
    path = QFile::encodeName(*chosen);
    return true;
}

QByteArray BuildPage(const Doc& doc, HtmlPageForm form)
{
    WaitCursor wait;
    return BuildHtmlPage(doc, form);
}

// The previews' resource copy asks about a missing source or a failed copy with Retry and
// Cancel.
class PreviewCopyPrompt : public CopyPrompt
{
public:
    explicit PreviewCopyPrompt(QWidget* owner)
        : m_owner(owner)
    {
    }

    bool AskRetry(int, const QByteArray& text) override
    {
        return CurrentPrompts().MessageBox(m_owner, QString::fromLocal8Bit(text),
                   PromptIcon::Warning, PromptButtons::RetryCancel)
            == PromptAnswer::Retry;
    }

private:
    QWidget* m_owner;
};

// Hands the user's own CLASSPATH to whatever starts while it lives, and the program's back after.
class UserClassPath
{
public:
    UserClassPath() { SetClassPath(CurrentAppState().startupClassPath); }
    ~UserClassPath()
    {
        SetClassPath(ClassPathForProgram(ProgramDirectory(), CurrentAppState().startupClassPath));
    }
    UserClassPath(const UserClassPath&) = delete;
    UserClassPath& operator=(const UserClassPath&) = delete;
};

} // namespace

QByteArray PreviewPageName()
{
    return '~' + CurrentProgramInfo().internalName + ".html";
}

DocOutputs::DocOutputs(Doc& doc, QWidget* owner)
    : m_doc(doc)
    , m_owner(owner)
{
}

bool DocOutputs::LocksReadable()
{
    const std::optional<UnreadableLock> problem = FindUnreadableLock(m_doc);
    if (problem)
        CurrentPrompts().MessageBox(m_owner,
            QString::fromLocal8Bit(UnreadableLockMessage(m_doc, *problem)), PromptIcon::Warning,
            PromptButtons::Ok);
    return !problem;
}

bool DocOutputs::CreateHtmlFile(QByteArray& path, bool askForName, bool preview)
{
    if (!LocksReadable())
        return false;
    if (askForName && !AskForFileName(m_owner, path, kHtmlFilter, "html"))
        return false;
    const QByteArray html = BuildPage(m_doc, preview ? HtmlPageForm::Preview : HtmlPageForm::File);
    if (!WriteFile(path, html))
        return false;
    if (!preview)
        ShowResourcesDialog(html);
    return true;
}

void DocOutputs::CopyHtmlToClipboard()
{
    if (!LocksReadable())
        return;
    const QByteArray segment = BuildPage(m_doc, HtmlPageForm::Segment);
    const QString plainText = QStringLiteral("text/plain");
    QClipboard* clipboard = qGuiApp ? QGuiApplication::clipboard() : nullptr;
    if (clipboard) {
        // The page's own bytes, as the HTML file holds them: texts from a project made with
        // another encoding would not survive a conversion.
        auto* data = new QMimeData;
        data->setData(plainText, segment);
        clipboard->setMimeData(data);
    }
    // A clipboard that does not hand the text back was never ours to fill.
    const QMimeData* held = clipboard ? clipboard->mimeData() : nullptr;
    if (!held || held->data(plainText) != segment) {
        ShowResourceMessage(m_owner, IDS_CLIPBOARD_FAILED, PromptIcon::None, PromptButtons::Ok);
        return;
    }
    ShowResourcesDialog(segment);
}

void DocOutputs::ShowResourcesDialog(const QByteArray& html)
{
    DialogResources dialog(m_doc, html, m_owner);
    dialog.exec();
}

bool DocOutputs::SaveLockInputFile(QByteArray& path, bool askForName)
{
    if (!LocksReadable())
        return false;
    if (askForName && !AskForFileName(m_owner, path, kLockFileFilter, "txt"))
        return false;
    return WriteFile(path, BuildLockInputFile(m_doc));
}

bool DocOutputs::WriteFile(const QByteArray& path, const QByteArray& bytes)
{
    const FileResult result = WriteOutputFile(QFile::decodeName(path), bytes);
    if (!result.ok)
        ShowResourceMessage(
            m_owner, result.messageId, PromptIcon::Warning, PromptButtons::Ok, path);
    return result.ok;
}

std::optional<QByteArray> DocOutputs::WritePreviewPage()
{
    const QByteArray folder = PreviewDirectory();
    if (folder.isEmpty())
        return std::nullopt;
    if (ReportNameClash(m_owner, QList<QByteArray> { PreviewPageName() } + GetResourceList(m_doc)))
        return std::nullopt;
    QByteArray page = folder + PreviewPageName();
    if (!CreateHtmlFile(page, false, true))
        return std::nullopt;
    // A lock file that could not be written would leave the preview showing stale locks.
    if (m_doc.ReadsLocksFromFile() && !WriteLockFileInto(folder))
        return std::nullopt;
    PreviewCopyPrompt prompt(m_owner);
    if (!CopyResources(m_doc, folder, prompt)) {
        ShowResourceMessage(m_owner, IDS_PREVIEW_COPY_FAILED, PromptIcon::Stop, PromptButtons::Ok);
        return std::nullopt;
    }
    return page;
}

bool DocOutputs::WriteLockFileInto(const QByteArray& folder)
{
    // The project names the file the page asks for, never a place to write: a received project
    // must not overwrite the user's files.
    const QByteArray name = FileNamePart(m_doc.lockFile);
    if (!IsFileName(name)) {
        ShowResourceMessage(
            m_owner, IDS_BAD_PATH, PromptIcon::Warning, PromptButtons::Ok, m_doc.lockFile);
        return false;
    }
    QByteArray path = folder + name;
    return SaveLockInputFile(path, false);
}

void DocOutputs::BrowserPreview()
{
    const std::optional<QByteArray> page = WritePreviewPage();
    if (!page)
        return;
    if (!StartBrowser(*page))
        ShowResourceMessage(m_owner, IDS_BROWSER_FAILED, PromptIcon::Stop, PromptButtons::Ok);
}

bool DocOutputs::StartBrowser(const QByteArray& page)
{
    const UserClassPath userClassPath;
    const AppState& state = CurrentAppState();
    const QString pagePath = QFile::decodeName(page);
    if (state.browserCommand.isEmpty())
        return CurrentBrowserLauncher().OpenWithDesktop(QUrl::fromLocalFile(pagePath));
    QStringList arguments = QProcess::splitCommand(QString::fromLocal8Bit(state.browserCommand));
    if (arguments.isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    if (state.browserLocal == 0) {
        arguments.append(QUrl::fromLocalFile(pagePath).toString());
        return CurrentBrowserLauncher().StartProgram(program, arguments, QString());
    }
    // The bare name means something only to a browser started in the preview folder.
    arguments.append(QFile::decodeName(PreviewPageName()));
    return CurrentBrowserLauncher().StartProgram(
        program, arguments, QFileInfo(pagePath).absolutePath());
}
