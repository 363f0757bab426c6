#include "publish/DocOutputs.h"

#include "framework/ProgramSettings.h"
#include "framework/Prompts.h"
#include "framework/ResourceString.h"
#include "framework/WaitCursor.h"
#include "generate/BoxPage.h"
#include "generate/LockInputFile.h"
#include "generate/MemberKeys.h"
#include "generate/ModernBox.h"
#include "generate/OutputFile.h"
#include "generate/ResourceList.h"
#include "model/BoxReferences.h"
#include "model/Doc.h"
#include "model/LockCheck.h"
#include "publish/BrowserLauncher.h"
#include "publish/DialogCopyProgress.h"
#include "publish/DialogPublish.h"
#include "publish/DialogResources.h"
#include "publish/ExternalBrowser.h"
#include "publish/PreviewServer.h"
#include "publish/ProjectState.h"
#include "publish/PublishCopy.h"
#include "util/ClassPath.h"
#include "util/Paths.h"
#include "util/PreviewDirectory.h"
#include "util/ProgramInfo.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QProgressDialog>
#include <QUrl>

namespace {

// Asks for the name of a file to write, starting from path; the chosen path replaces it.
bool AskForFileName(QWidget* owner, QByteArray& path, int filterId, const char* extension)
{
    FileDialogRequest request;
    request.filter = ResourceString(filterId);
    request.defaultExtension = QString::fromLatin1(extension);
    request.initialPath = QFile::decodeName(path);
    const std::optional<QString> chosen = CurrentPrompts().SaveAs(owner, request);
    if (!chosen)
        return false;
    path = QFile::encodeName(*chosen);
    return true;
}

// The preview never leaves the machine: a low count keeps it quick.
constexpr int kPreviewIterations = 1000;
// Derivations quicker than this show no progress window.
constexpr int kProgressDelayMs = 400;

// Everything lock data is made from.
QByteArray LockDataSource(const Doc& doc, const QByteArray& salt, int iterations)
{
    return salt + QByteArray::number(iterations) + ':' + LockDataInputs(doc);
}

// A progress window with Cancel for the key derivations, made when there is something to derive
// and shown only when that takes a while. Each report lets the window handle its events.
class DerivationProgress
{
public:
    explicit DerivationProgress(QWidget* owner)
        : m_owner(owner)
    {
    }

    bool operator()(int derived, int total)
    {
        if (!m_window) {
            m_window = std::make_unique<QProgressDialog>(m_owner);
            m_window->setWindowTitle(ResourceString(IDS_APP_TITLE));
            m_window->setLabelText(ResourceString(IDS_MAKING_LOCKS));
            m_window->setWindowModality(Qt::WindowModal);
            m_window->setMinimumDuration(kProgressDelayMs);
            m_window->setAutoClose(false);
        }
        m_window->setMaximum(total);
        m_window->setValue(derived);
        return !m_window->wasCanceled();
    }

private:
    QWidget* m_owner;
    std::unique_ptr<QProgressDialog> m_window;
};

// Whether the notice that the modern box sends no e-mail is still shown.
const ProgramSettings::Setting<bool> kMailNotice { "Options/ModernBoxMailNotice", true };

// Hands the user's own CLASSPATH to whatever starts while it lives, and the program's back after.
class UserClassPath
{
public:
    explicit UserClassPath(const QByteArray& user)
        : m_user(user)
    {
        SetClassPath(m_user);
    }
    ~UserClassPath() { SetClassPath(ClassPathForProgram(ProgramDirectory(), m_user)); }
    UserClassPath(const UserClassPath&) = delete;
    UserClassPath& operator=(const UserClassPath&) = delete;

private:
    const QByteArray m_user;
};

} // namespace

QByteArray PreviewPageName()
{
    return '~' + CurrentProgramInfo().internalName + ".html";
}

QByteArray PreviewLockDataScriptName()
{
    return '~' + CurrentProgramInfo().internalName + "-locks.js";
}

DocOutputs::DocOutputs(Doc& doc, ProjectState& project, QWidget* owner)
    : m_doc(doc)
    , m_project(project)
    , m_owner(owner)
{
}

const ProjectState::CheckedLocks& DocOutputs::CheckLocks()
{
    ProjectState::CheckedLocks& checked = m_project.checkedLocks;
    if (checked.stamp != m_doc.LocksStamp())
        checked = { m_doc.LocksStamp(), FindUnreadableLock(m_doc), FindLockNotWebAddress(m_doc) };
    return checked;
}

bool DocOutputs::ReadyToGenerate()
{
    KeepAreaKeysCurrent(m_doc);
    const std::optional<UnreadableLock> problem = CheckLocks().unreadable;
    if (problem)
        CurrentPrompts().MessageBox(m_owner,
            QString::fromLocal8Bit(UnreadableLockMessage(m_doc, *problem)), PromptIcon::Warning,
            PromptButtons::Ok);
    return !problem;
}

std::optional<QByteArray> DocOutputs::LockDataFor(BoxKind kind, LockDataUse use)
{
    if (!UsesModernBox(kind))
        return QByteArray();
    if (const std::optional<QByteArray> refusal
        = ModernBoxRefusal(m_doc, CheckLocks().notWebAddress)) {
        CurrentPrompts().MessageBox(
            m_owner, QString::fromLocal8Bit(*refusal), PromptIcon::Warning, PromptButtons::Ok);
        return std::nullopt;
    }
    const int count = use == LockDataUse::Preview ? kPreviewIterations : m_doc.iterations;
    const std::optional<LockIterations> iterations = LockIterations::Checked(count, use);
    if (!iterations) {
        ShowResourceMessage(m_owner, IDS_BAD_ITERATIONS, PromptIcon::Warning, PromptButtons::Ok,
            QByteArray::number(count));
        return std::nullopt;
    }
    ProjectState::MadeLockData& last = m_project.lastLockData;
    QByteArray source = LockDataSource(m_doc, m_project.lockKeys.Salt(), count);
    if (source == last.source)
        return last.lockData;
    DerivationProgress progress(m_owner);
    const std::optional<QByteArray> lockData = BuildLockData(m_doc, *iterations, m_project.lockKeys,
        [&progress](int derived, int total) { return progress(derived, total); });
    if (lockData)
        last = { std::move(source), *lockData };
    return lockData;
}

std::optional<DocOutputs::BuiltPage> DocOutputs::BuildPage(
    BoxKind kind, HtmlPageForm form, LockDataUse use)
{
    const std::optional<QByteArray> lockData = LockDataFor(kind, use);
    if (!lockData)
        return std::nullopt;
    WaitCursor wait;
    return BuiltPage { BuildBoxPage(m_doc, kind, form, *lockData), *lockData };
}

void DocOutputs::NoteMailNotSent(BoxKind kind)
{
    if (!UsesModernBox(kind) || m_project.mailNoticeShown
        || (m_doc.correctEmail.isEmpty() && m_doc.failEmail.isEmpty()) || !kMailNotice.Get())
        return;
    m_project.mailNoticeShown = true;
    const QString text = ResourceString(IDS_MODERN_BOX_NO_MAIL);
    if (CurrentPrompts().Notice(m_owner, text))
        kMailNotice.Set(false);
}

void DocOutputs::NoteReadableLocks(BoxKind kind, bool carriesLocks)
{
    const std::optional<int> warning = ReadableLocksWarning(m_doc, kind, carriesLocks);
    if (!warning || m_doc.readableLocksNotice == 0)
        return;
    if (CurrentPrompts().Notice(m_owner, ResourceString(*warning))) {
        m_doc.readableLocksNotice = 0;
        m_doc.SetModified();
    }
}

bool DocOutputs::CreateHtmlFile(QByteArray& path, bool askForName)
{
    if (!ReadyToGenerate())
        return false;
    if (askForName && !AskForFileName(m_owner, path, IDS_HTML_FILTER, "html"))
        return false;
    const BoxKind kind = m_doc.boxKind;
    NoteMailNotSent(kind);
    const std::optional<BuiltPage> page = BuildPage(kind, HtmlPageForm::File, LockDataUse::Publish);
    if (!page || !WriteFile(path, page->html))
        return false;
    NoteReadableLocks(kind, !m_doc.ReadsLocksFromFile());
    ShowResourcesDialog(page->html, kind, page->lockData);
    return true;
}

void DocOutputs::CopyHtmlToClipboard()
{
    if (!ReadyToGenerate())
        return;
    const BoxKind kind = m_doc.boxKind;
    NoteMailNotSent(kind);
    const std::optional<BuiltPage> page
        = BuildPage(kind, HtmlPageForm::Segment, LockDataUse::Publish);
    if (!page)
        return;
    const QByteArray& segment = page->html;
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
    NoteReadableLocks(kind, !m_doc.ReadsLocksFromFile());
    ShowResourcesDialog(segment, kind, page->lockData);
}

void DocOutputs::ShowResourcesDialog(
    const QByteArray& html, BoxKind kind, const QByteArray& lockData)
{
    DialogResources dialog(m_doc, html, m_owner, kind, lockData,
        BuildBoxPage(m_doc, kind, HtmlPageForm::File, lockData), m_project.filePath);
    dialog.exec();
}

bool DocOutputs::SaveLockInputFile(QByteArray& path, bool askForName)
{
    if (!ReadyToGenerate())
        return false;
    const BoxKind kind = m_doc.boxKind;
    if (kind == BoxKind::Modern) {
        path = LockDataPathBeside(path);
        if (askForName && !AskForFileName(m_owner, path, IDS_LOCK_DATA_FILTER, "json"))
            return false;
    } else if (askForName && !AskForFileName(m_owner, path, IDS_LOCK_FILE_FILTER, "txt")) {
        return false;
    }
    const std::optional<QByteArray> lockData = LockDataFor(kind, LockDataUse::Publish);
    if (!lockData)
        return false;
    if (kind == BoxKind::Modern)
        return WriteFile(path, *lockData);
    // The modern box of the both kind fetches its locks from the same name with .json.
    if (!WriteFile(path, BuildLockInputFile(m_doc))
        || (kind == BoxKind::Both && !WriteFile(LockDataPathBeside(path), *lockData)))
        return false;
    // The lock input file is the applet's, whatever kind the pages are.
    if (askForName)
        NoteReadableLocks(BoxKind::Classic, true);
    return true;
}

bool DocOutputs::WriteFile(const QByteArray& path, const QByteArray& bytes)
{
    const FileResult result = WriteOutputFile(QFile::decodeName(path), bytes);
    if (!result.ok)
        ShowResourceMessage(
            m_owner, result.messageId, PromptIcon::Warning, PromptButtons::Ok, path);
    return result.ok;
}

std::variant<PublishPlan, PlanProblem> DocOutputs::PlanFor(BoxKind kind,
    const QByteArray& destination, const QByteArray& pageName,
    const QByteArray& lockDataScriptName) const
{
    return MakePublishPlan(m_doc,
        { kind, ResolveSiteFolder(m_doc, m_project.filePath), destination, pageName,
            lockDataScriptName });
}

std::optional<QByteArray> DocOutputs::WritePreviewPage(BoxKind kind)
{
    const QByteArray folder = PreviewDirectory();
    if (folder.isEmpty())
        return std::nullopt;
    if (!ReadyToGenerate())
        return std::nullopt;
    const QByteArray scriptName = PreviewLockDataScriptName();
    const std::variant<PublishPlan, PlanProblem> planned
        = PlanFor(kind, folder, PreviewPageName(), scriptName);
    if (ReportPlanProblem(m_owner, planned))
        return std::nullopt;
    const std::optional<QByteArray> lockData = LockDataFor(kind, LockDataUse::Preview);
    if (!lockData)
        return std::nullopt;
    // The lock data, large, is written only when it changed: the page loads it from the script.
    ProjectState::MadeLockData& made = m_project.lastLockData;
    if (UsesModernBox(kind) && made.script.isEmpty())
        made.script = LockDataScript(made.lockData);
    const PublishContent content { BuildWindowPreviewPage(m_doc, kind, *lockData, scriptName),
        *lockData, UsesModernBox(kind) ? made.script : QByteArray() };
    WindowPublishObserver observer(WindowPublishObserver::Asking::Preview, m_owner);
    if (!WritePublishPlan(std::get<PublishPlan>(planned), m_doc, content, folder, observer,
            &m_project.previewFiles)
             .complete) {
        ShowResourceMessage(m_owner, IDS_PREVIEW_COPY_FAILED, PromptIcon::Stop, PromptButtons::Ok);
        return std::nullopt;
    }
    return folder + PreviewPageName();
}

bool DocOutputs::PublishToFolder()
{
    if (!ReadyToGenerate())
        return false;
    const BoxKind kind = m_doc.boxKind;
    const std::optional<QString> chosen = CurrentPrompts().BrowseForFolder(
        m_owner, ResourceString(IDS_PUBLISH_TO), QFile::decodeName(m_doc.publishFolder));
    if (!chosen)
        return false;
    DialogPublish confirm(
        QFile::encodeName(*chosen),
        [this, kind](const QByteArray& folder) { return PlanFor(kind, folder); }, m_owner);
    if (confirm.exec() != QDialog::Accepted)
        return false;
    const QByteArray folder = confirm.Folder();
    const PublishPlan plan = confirm.Plan();
    NoteMailNotSent(kind);
    NoteReadableLocks(kind, true);
    const std::optional<BuiltPage> built
        = BuildPage(kind, HtmlPageForm::File, LockDataUse::Publish);
    if (!built)
        return false;
    const QString path = QFile::decodeName(folder);
    if (!QFileInfo(path).isDir() && !QDir().mkdir(path)) {
        ShowResourceMessage(
            m_owner, IDS_CREATE_DIRECTORY_FAILED, PromptIcon::Warning, PromptButtons::Ok, folder);
        return false;
    }
    // Remembered as the HTML file's path is: without marking the project modified.
    m_doc.publishFolder = folder;

    DialogCopyProgress progress(int(plan.files.size()), m_owner);
    progress.show();
    WindowPublishObserver observer(WindowPublishObserver::Asking::Confirmed, m_owner, &progress);
    const PublishOutcome outcome = WritePublishPlan(plan, m_doc, { built->html, built->lockData },
        folder.endsWith('/') ? folder : folder + '/', observer);
    progress.hide();
    QByteArray summary = FormatResourceText(IDS_PUBLISH_SUMMARY,
        QByteArray::number(outcome.written), QByteArray::number(outcome.unchanged));
    if (!outcome.complete)
        summary += "\n\n" + LoadResourceText(IDS_PUBLISH_INCOMPLETE);
    CurrentPrompts().MessageBox(m_owner, QString::fromLocal8Bit(summary),
        outcome.complete ? PromptIcon::Information : PromptIcon::Warning, PromptButtons::Ok);
    return outcome.complete;
}

void DocOutputs::BrowserPreview(const ExternalBrowser& browser)
{
    const BoxKind kind = m_doc.boxKind;
    NoteMailNotSent(kind);
    const std::optional<QByteArray> page = WritePreviewPage(kind);
    if (!page)
        return;
    if (!StartBrowser(*page, browser))
        ShowResourceMessage(m_owner, IDS_BROWSER_FAILED, PromptIcon::Stop, PromptButtons::Ok);
}

bool DocOutputs::StartBrowser(const QByteArray& page, const ExternalBrowser& browser)
{
    const UserClassPath userClassPath(browser.userClassPath);
    const QString pagePath = QFile::decodeName(page);
    // Through the preview server the page fetches its files and keeps its storage as on the
    // real server.
    const QUrl address = PreviewAddress(QFile::decodeName(PreviewPageName()));
    if (browser.command.isEmpty())
        return CurrentBrowserLauncher().OpenWithDesktop(address);
    QStringList arguments = QProcess::splitCommand(QString::fromLocal8Bit(browser.command));
    if (arguments.isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    if (browser.local == 0) {
        arguments.append(QString::fromLatin1(address.toEncoded()));
        return CurrentBrowserLauncher().StartProgram(program, arguments, QString());
    }
    // The bare name means something only to a browser started in the preview folder.
    arguments.append(QFile::decodeName(PreviewPageName()));
    return CurrentBrowserLauncher().StartProgram(
        program, arguments, QFileInfo(pagePath).absolutePath());
}
