#include "framework/DocumentManager.h"

#include "framework/ProgramSettings.h"
#include "framework/Prompts.h"
#include "framework/ResourceString.h"
#include "model/Doc.h"
#include "model/ProjectFile.h"
#include "model/ProjectReadAhead.h"
#include "util/StringIds.h"

#include <QFileInfo>

namespace {

// Fields of the document template string, one per line.
enum TemplateField { kNewFileName = 2, kFilterName = 3, kFilterExtension = 4 };

QString DocTemplateField(TemplateField field)
{
    return ResourceStringLines(IDS_DOC_TEMPLATE).value(field);
}

FileDialogRequest ProjectFileRequest(const QString& initialPath)
{
    const QString extension = DocTemplateField(kFilterExtension);
    FileDialogRequest request;
    request.filter
        = ResourceString(IDS_PROJECT_FILTER).arg(DocTemplateField(kFilterName), extension);
    request.defaultExtension = extension.mid(1);
    request.initialPath = initialPath;
    return request;
}

} // namespace

DocumentManager::DocumentManager(Doc& doc, QObject* parent)
    : QObject(parent)
    , m_doc(doc)
{
    m_recentFiles = ProgramSettings::RecentFiles(kRecentFileCount);
}

DocumentManager::~DocumentManager() = default;

void DocumentManager::SetCommitGate(std::function<bool()> gate)
{
    m_gate = std::move(gate);
}

void DocumentManager::SetBeforeWrite(std::function<void()> prepare)
{
    m_beforeWrite = std::move(prepare);
}

void DocumentManager::SetOwner(QWidget* owner)
{
    m_owner = owner;
}

void DocumentManager::SetReadAhead(std::unique_ptr<ProjectReadAhead> readAhead)
{
    m_readAhead = std::move(readAhead);
}

QString DocumentManager::Title() const
{
    if (m_pathName.isEmpty())
        return ResourceString(IDS_UNTITLED);
    return QFileInfo(m_pathName).fileName();
}

bool DocumentManager::FileNew()
{
    if (!PassesGate() || !SaveModified())
        return false;
    NewDocument();
    return true;
}

bool DocumentManager::FileOpen()
{
    if (!PassesGate())
        return false;
    const std::optional<QString> path = CurrentPrompts().Open(m_owner, ProjectFileRequest({}));
    return path && OpenDocumentFile(*path);
}

bool DocumentManager::FileSave()
{
    if (!PassesGate())
        return false;
    // A project without a file, or whose file may not be written, is saved under a new name.
    const QFileInfo file(m_pathName);
    if (m_pathName.isEmpty() || (file.exists() && !file.isWritable()))
        return DoSave({}, true);
    return DoSave(m_pathName, true);
}

bool DocumentManager::FileSaveAs()
{
    return PassesGate() && DoSave({}, true);
}

bool DocumentManager::OpenDocumentFile(const QString& path)
{
    return Open(path) == OpenOutcome::Opened;
}

bool DocumentManager::OpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.size())
        return false;
    const OpenOutcome outcome = Open(m_recentFiles.at(index));
    if (outcome == OpenOutcome::Failed)
        RemoveRecentFile(index);
    return outcome == OpenOutcome::Opened;
}

bool DocumentManager::CanCloseFrame()
{
    return PassesGate() && SaveModified();
}

bool DocumentManager::SaveModified()
{
    if (!m_doc.IsModified())
        return true;
    switch (ShowResourceMessage(m_owner, IDS_ASK_TO_SAVE, PromptIcon::Question,
        PromptButtons::YesNoCancel, Title().toLocal8Bit())) {
    case PromptAnswer::Yes:
        return FileSave();
    case PromptAnswer::No:
        return true;
    default:
        return false;
    }
}

bool DocumentManager::PassesGate() const
{
    return !m_gate || m_gate();
}

void DocumentManager::NewDocument()
{
    m_doc.ResetProject();
    // A new project starts with the kind of box the user chose last.
    m_doc.boxKind = ParseBoxKind(ProgramSettings::kNewProjectBoxKind.Get().toLatin1())
                        .value_or(BoxKind::Modern);
    m_doc.SetModified(false);
    SetPathName({});
    emit documentReset();
}

DocumentManager::OpenOutcome DocumentManager::Open(const QString& path)
{
    if (!SaveModified())
        return OpenOutcome::Cancelled;
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    const std::unique_ptr<ProjectReadAhead> readAhead = std::move(m_readAhead);
    const FileResult result = readAhead && readAhead->Path() == fullPath
        ? readAhead->MoveInto(m_doc)
        : LoadProject(m_doc, fullPath);
    if (!result.ok) {
        // The project open before stays, as it was.
        ShowResourceMessage(m_owner, result.messageId, PromptIcon::Warning, PromptButtons::Ok,
            fullPath.toLocal8Bit());
        return OpenOutcome::Failed;
    }
    m_doc.SetModified(false);
    SetPathName(fullPath);
    AddRecentFile(fullPath);
    emit documentReset();
    return OpenOutcome::Opened;
}

bool DocumentManager::DoSave(const QString& path, bool replacePath)
{
    QString target = path;
    if (target.isEmpty()) {
        const QString initial = m_pathName.isEmpty()
            ? DocTemplateField(kNewFileName) + DocTemplateField(kFilterExtension)
            : m_pathName;
        const std::optional<QString> chosen
            = CurrentPrompts().SaveAs(m_owner, ProjectFileRequest(initial));
        if (!chosen)
            return false;
        target = QFileInfo(*chosen).absoluteFilePath();
    }
    // Every write commits the page first, also when a question about saving led here.
    if (!PassesGate())
        return false;
    if (m_beforeWrite)
        m_beforeWrite();
    const FileResult result = SaveProject(m_doc, target);
    if (!result.ok) {
        ShowResourceMessage(m_owner, result.messageId, PromptIcon::Warning, PromptButtons::Ok,
            target.toLocal8Bit());
        return false;
    }
    m_doc.SetModified(false);
    if (replacePath) {
        SetPathName(target);
        AddRecentFile(target);
    }
    return true;
}

void DocumentManager::SetPathName(const QString& path)
{
    m_pathName = path;
    emit titleChanged(Title());
}

void DocumentManager::AddRecentFile(const QString& path)
{
    // Reopening the newest file changes nothing, and writes nothing: a start with the project
    // used last waits for no settings file.
    if (m_recentFiles.value(0) == path)
        return;
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > kRecentFileCount)
        m_recentFiles.removeLast();
    WriteRecentFiles();
}

void DocumentManager::RemoveRecentFile(int index)
{
    m_recentFiles.removeAt(index);
    WriteRecentFiles();
}

void DocumentManager::WriteRecentFiles()
{
    ProgramSettings::SetRecentFiles(m_recentFiles);
    emit recentFilesChanged(m_recentFiles);
}
