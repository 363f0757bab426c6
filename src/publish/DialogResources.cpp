#include "publish/DialogResources.h"

#include "framework/Prompts.h"
#include "model/Doc.h"
#include "publish/DialogCopyProgress.h"
#include "publish/PublishCopy.h"
#include "util/Paths.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// The entry's index in the resource list.
constexpr int kIndexRole = Qt::UserRole;

// Makes sure the folder is there, offering to create it (one level) when it is not. False when
// the user declined or it could not be made; both end the command.
bool EnsureFolder(QWidget* owner, const QByteArray& folder)
{
    const QString path = QFile::decodeName(folder);
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return true;
    if (ShowResourceMessage(
            owner, IDS_ASK_CREATE_DIRECTORY, PromptIcon::Question, PromptButtons::YesNo, folder)
        != PromptAnswer::Yes)
        return false;
    if (QDir().mkdir(path))
        return true;
    ShowResourceMessage(
        owner, IDS_CREATE_DIRECTORY_FAILED, PromptIcon::Warning, PromptButtons::Ok, folder);
    return false;
}

// Where each resource is copied from: a made one from the file made for it in staging (named as
// listed), or as listed when it could not be made, so that the copy reports it missing.
QList<QByteArray> CopySources(
    const QList<BoxResource>& resources, const QTemporaryDir& staging, const QByteArray& lockData)
{
    const QByteArray folder = QFile::encodeName(staging.path()) + '/';
    QList<QByteArray> sources;
    for (const BoxResource& resource : resources) {
        const bool made = resource.origin != BoxResource::Origin::Copied && staging.isValid()
            && WriteMadeResource(resource, folder, lockData).ok;
        sources.append(made ? folder + FileNamePart(resource.path) : resource.path);
    }
    return sources;
}

} // namespace

DialogResources::DialogResources(
    Doc& doc, const QByteArray& html, QWidget* parent, BoxKind kind, const QByteArray& lockData)
    : DialogBase(ResourcesDialogForm::kTemplateId, parent)
    , m_ui(FormControls<ResourcesDialogForm>(*this))
    , m_html(html)
    , m_doc(doc)
    , m_kind(kind)
    , m_lockData(lockData)
{
    // Enter must not close the dialog by accident: Done is not the default button.
    m_ui.okButton->setAutoDefault(false);
    connect(m_ui.selectAllButton, &QPushButton::clicked, this, &DialogResources::OnSelectAll);
    connect(m_ui.copyLocallyButton, &QPushButton::clicked, this, &DialogResources::OnCopyLocally);
}

void DialogResources::reject()
{
    if (isEnabled())
        DialogBase::reject();
}

void DialogResources::Exchange(DataExchange& exchange)
{
    exchange.Text(m_ui.htmlEdit, m_html);
}

void DialogResources::OnInitDialog()
{
    DialogBase::OnInitDialog();
    m_ui.resourceList->clear();
    m_resources = GetBoxResources(m_doc, m_kind);
    for (int index = 0; index < m_resources.size(); ++index) {
        auto* item
            = new QListWidgetItem(QFile::decodeName(m_resources[index].path), m_ui.resourceList);
        item->setData(kIndexRole, index);
    }
    OnSelectAll();
}

void DialogResources::OnSelectAll()
{
    m_ui.resourceList->selectAll();
}

QList<BoxResource> DialogResources::SelectedFiles() const
{
    QList<BoxResource> files;
    for (int row = 0; row < m_ui.resourceList->count(); ++row) {
        const QListWidgetItem* item = m_ui.resourceList->item(row);
        if (item->isSelected())
            files.append(m_resources.at(item->data(kIndexRole).toInt()));
    }
    return files;
}

void DialogResources::OnCopyLocally()
{
    UpdateData(true);
    const QList<BoxResource> files = SelectedFiles();
    QList<QByteArray> paths;
    for (const BoxResource& file : files)
        paths.append(file.path);
    if (ReportNameClash(this, paths))
        return;
    const QString title = QString::fromLocal8Bit(LoadResourceText(IDS_PUBLISH_TO));
    const std::optional<QString> chosen
        = CurrentPrompts().BrowseForFolder(this, title, QFile::decodeName(m_doc.publishDirectory));
    if (!chosen)
        return;
    const QByteArray folder = QFile::encodeName(*chosen);
    const QByteArray prefix = JoinFullPath(folder, {}, {});
    if (!EnsureFolder(this, folder) || !EnsureFolder(this, prefix))
        return;

    const QTemporaryDir staging;
    const QList<QByteArray> sources = CopySources(files, staging, m_lockData);
    DialogCopyProgress progress(int(files.size()), this);
    progress.show();
    setEnabled(false);
    // The progress window is this dialog's child, so that the modal dialog lets it take input;
    // it stays usable while the dialog is disabled.
    progress.setEnabled(true);
    const bool complete = PublishFiles(sources, prefix, progress, this);
    ShowResourceMessage(this, complete ? IDS_PUBLISH_SUCCEEDED : IDS_PUBLISH_INCOMPLETE,
        PromptIcon::None, PromptButtons::Ok);

    UpdateData(false);
    m_doc.publishDirectory = folder;
    setEnabled(true);
}
