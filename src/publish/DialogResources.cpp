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

namespace {

// The entry's published name.
constexpr int kNameRole = Qt::UserRole;

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

} // namespace

DialogResources::DialogResources(Doc& doc, const QByteArray& html, QWidget* parent, BoxKind kind,
    const QByteArray& lockData, const QByteArray& page, const QByteArray& projectPath)
    : DialogBase(ResourcesDialogForm::kTemplateId, parent)
    , m_ui(FormControls<ResourcesDialogForm>(*this))
    , m_html(html)
    , m_doc(doc)
    , m_projectPath(projectPath)
    , m_kind(kind)
    , m_content { page.isEmpty() ? html : page, lockData }
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
    m_planned = MakePublishPlan(m_doc, { m_kind, ResolveSiteFolder(m_doc, m_projectPath), {}, {} });
    if (const auto* plan = std::get_if<PublishPlan>(&m_planned)) {
        for (const PlannedFile& file : plan->files) {
            auto* item = new QListWidgetItem(DescribePlannedFile(file), m_ui.resourceList);
            item->setData(kNameRole, QFile::decodeName(file.name));
        }
    }
    OnSelectAll();
}

void DialogResources::OnSelectAll()
{
    m_ui.resourceList->selectAll();
}

QList<QByteArray> DialogResources::SelectedNames() const
{
    QList<QByteArray> names;
    for (int row = 0; row < m_ui.resourceList->count(); ++row) {
        const QListWidgetItem* item = m_ui.resourceList->item(row);
        if (item->isSelected())
            names.append(QFile::encodeName(item->data(kNameRole).toString()));
    }
    return names;
}

void DialogResources::OnCopyLocally()
{
    UpdateData(true);
    if (ReportPlanProblem(this, m_planned))
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
    // Planned again for the folder, which must not be the site folder or lie inside it.
    std::variant<PublishPlan, PlanProblem> planned
        = MakePublishPlan(m_doc, { m_kind, ResolveSiteFolder(m_doc, m_projectPath), prefix, {} });
    if (ReportPlanProblem(this, planned))
        return;
    PublishPlan& plan = std::get<PublishPlan>(planned);
    const QList<QByteArray> selected = SelectedNames();
    plan.files.removeIf(
        [&selected](const PlannedFile& file) { return !selected.contains(file.name); });

    DialogCopyProgress progress(int(plan.files.size()), this);
    progress.show();
    setEnabled(false);
    // The progress window is this dialog's child, so that the modal dialog lets it take input;
    // it stays usable while the dialog is disabled.
    progress.setEnabled(true);
    WindowPublishObserver observer(WindowPublishObserver::Asking::EveryFile, this, &progress);
    const bool complete = WritePublishPlan(plan, m_doc, m_content, prefix, observer).complete;
    ShowResourceMessage(this, complete ? IDS_PUBLISH_SUCCEEDED : IDS_PUBLISH_INCOMPLETE,
        PromptIcon::None, PromptButtons::Ok);

    UpdateData(false);
    m_doc.publishDirectory = folder;
    setEnabled(true);
}
