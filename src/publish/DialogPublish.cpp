#include "publish/DialogPublish.h"

#include "framework/Prompts.h"
#include "publish/PublishCopy.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QFile>

DialogPublish::DialogPublish(const QByteArray& folder, Planner planner, QWidget* parent)
    : DialogBase(PublishDialogForm::kTemplateId, parent)
    , m_ui(FormControls<PublishDialogForm>(*this))
    , m_folder(folder)
    , m_planner(std::move(planner))
{
    connect(m_ui.browseButton, &QPushButton::clicked, this, &DialogPublish::OnBrowse);
}

void DialogPublish::OnInitDialog()
{
    DialogBase::OnInitDialog();
    Replan();
}

void DialogPublish::Replan()
{
    m_planned = m_planner(m_folder);
    m_ui.folderEdit->setText(QFile::decodeName(m_folder));
    m_ui.fileList->clear();
    const auto* problem = std::get_if<PlanProblem>(&m_planned);
    m_ui.problemText->setText(problem ? QString::fromLocal8Bit(FormatResourceText(
                                  problem->messageId, problem->first, problem->second))
                                      : QString());
    m_ui.publishButton->setEnabled(!problem);
    if (problem)
        return;
    for (const PlannedFile& file : Plan().files)
        m_ui.fileList->addItem(DescribePlannedFile(file));
    for (const PlanNote& note : Plan().leftOut)
        m_ui.fileList->addItem(
            QString::fromLocal8Bit(FormatResourceText(note.messageId, note.path)));
}

void DialogPublish::OnBrowse()
{
    const std::optional<QString> chosen = CurrentPrompts().BrowseForFolder(this,
        QString::fromLocal8Bit(LoadResourceText(IDS_PUBLISH_TO)), QFile::decodeName(m_folder));
    if (!chosen)
        return;
    m_folder = QFile::encodeName(*chosen);
    Replan();
}
