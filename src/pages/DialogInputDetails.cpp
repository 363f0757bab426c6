#include "pages/DialogInputDetails.h"

#include "framework/ResourceIcon.h"
#include "model/BoxReferences.h"
#include "model/Doc.h"
#include "publish/DocOutputs.h"

namespace {

constexpr int kFileIcon = 203;
constexpr std::int32_t kMinimumInterval = 0;
constexpr std::int32_t kMaximumInterval = 5000;
// The arrows reach further than the dialog accepts; OK then names the real limit.
constexpr int kArrowMaximum = 20000;

} // namespace

DialogInputDetails::DialogInputDetails(Doc& doc, ProjectState& project, QWidget* parent)
    : DialogBase(InputDetailsDialogForm::kTemplateId, parent)
    , m_ui(FormControls<InputDetailsDialogForm>(*this))
    , m_doc(doc)
    , m_project(project)
{
    connect(
        m_ui.writeFileButton, &QPushButton::clicked, this, &DialogInputDetails::OnWriteInputFile);
}

void DialogInputDetails::Exchange(DataExchange& exchange)
{
    exchange.Integer(
        m_ui.intervalEdit, m_details.reloadInterval, kMinimumInterval, kMaximumInterval);
    exchange.Text(m_ui.loadingMessageEdit, m_details.loadingMessage);
    // The modern box fetches its lock data beside the page by the lock file's plain name.
    exchange.Text(m_ui.lockFileEdit, m_details.lockFile,
        UsesModernBox(m_doc.boxKind) ? FileNameRefusal : DataExchange::TextCheck());
}

void DialogInputDetails::OnInitDialog()
{
    DialogBase::OnInitDialog();
    m_ui.intervalUpDown->setRange(kMinimumInterval, kArrowMaximum);
    SetButtonIcon(m_ui.writeFileButton, kFileIcon);
}

void DialogInputDetails::OnWriteInputFile()
{
    // A refused interval stops the exchange, so the name is then the one held before.
    UpdateData(true);
    QByteArray path = m_details.lockFile;
    DocOutputs(m_doc, m_project, this).SaveLockInputFile(path, true);
}
