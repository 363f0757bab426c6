#include "publish/PublishCopy.h"

#include "framework/Prompts.h"
#include "publish/DialogCopyProgress.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QFile>

WindowPublishObserver::WindowPublishObserver(
    Asking asking, QWidget* owner, DialogCopyProgress* progress)
    : m_asking(asking)
    , m_owner(owner)
    , m_progress(progress)
{
}

bool WindowPublishObserver::Starting(int index, int, const PlannedFile& file)
{
    if (!m_progress)
        return true;
    m_progress->SetText(FormatResourceText(IDS_COPYING_FILE, file.name));
    m_progress->SetPosition(index);
    return !m_progress->IsCancelled();
}

PublishObserver::Choice WindowPublishObserver::AskAboutProblem(const QByteArray& message)
{
    const QString text = QString::fromLocal8Bit(message);
    if (m_asking == Asking::Preview)
        return CurrentPrompts().MessageBox(
                   m_owner, text, PromptIcon::Warning, PromptButtons::RetryCancel)
                == PromptAnswer::Retry
            ? Choice::Go
            : Choice::Stop;
    switch (CurrentPrompts().MessageBox(
        m_owner, text, PromptIcon::Warning, PromptButtons::AbortRetryIgnore)) {
    case PromptAnswer::Retry:
        return Choice::Go;
    case PromptAnswer::Ignore:
        return Choice::Skip;
    default:
        return Choice::Stop;
    }
}

PublishObserver::Choice WindowPublishObserver::OnMissing(const PlannedFile& file)
{
    return AskAboutProblem(MissingSourceMessage(file));
}

PublishObserver::Choice WindowPublishObserver::OnExisting(
    const PlannedFile&, const QByteArray& destination)
{
    if (m_asking != Asking::EveryFile)
        return Choice::Go;
    switch (ShowResourceMessage(m_owner, IDS_ASK_REPLACE_FILE, PromptIcon::Question,
        PromptButtons::YesNoCancel, destination)) {
    case PromptAnswer::Yes:
        return Choice::Go;
    case PromptAnswer::No:
        return Choice::Skip;
    default:
        return Choice::Stop;
    }
}

PublishObserver::Choice WindowPublishObserver::OnFailed(
    const PlannedFile&, const QByteArray& message)
{
    // A copy stopped by Cancel is no failure to ask about.
    if (m_progress && m_progress->IsCancelled())
        return Choice::Stop;
    return AskAboutProblem(message);
}

bool WindowPublishObserver::KeepGoing()
{
    return !m_progress || m_progress->KeepGoing();
}

bool WindowPublishObserver::LeavesUnchangedFiles() const
{
    return m_asking != Asking::EveryFile;
}

bool ReportPlanProblem(QWidget* owner, const std::variant<PublishPlan, PlanProblem>& planned)
{
    const auto* problem = std::get_if<PlanProblem>(&planned);
    if (problem)
        ShowResourceMessage(owner, problem->messageId, PromptIcon::Warning, PromptButtons::Ok,
            problem->first, problem->second);
    return problem != nullptr;
}

QString DescribePlannedFile(const PlannedFile& file)
{
    using Origin = PlannedFile::Origin;
    int id = IDS_PUBLISHED_FROM;
    switch (file.origin) {
    case Origin::Page:
        id = IDS_PUBLISHED_PAGE;
        break;
    case Origin::LockInputFile:
        id = IDS_PUBLISHED_LOCK_FILE;
        break;
    case Origin::LockData:
    case Origin::LockDataScript:
        id = IDS_PUBLISHED_LOCK_DATA;
        break;
    case Origin::MembersBoxScript:
        id = IDS_PUBLISHED_MEMBERS_BOX_SCRIPT;
        break;
    case Origin::ConvertedSound:
        id = IDS_PUBLISHED_CONVERTED;
        break;
    case Origin::SealedPageContent:
        id = IDS_PUBLISHED_SEALED_CONTENT;
        break;
    case Origin::Copied:
    case Origin::SiteFile:
        break;
    }
    return QString::fromLocal8Bit(FormatResourceText(id, file.name, file.source));
}
