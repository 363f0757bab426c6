#include "pages/DialogInputDetails.h"

#include "framework/ResourceIcon.h"
#include "model/BoxReferences.h"
#include "model/Doc.h"
#include "pages/PageControls.h"
#include "publish/DocOutputs.h"

namespace {

constexpr int kFileIcon = 203;
// The arrows reach further than the dialog accepts; OK then names the real limit.
constexpr int kArrowMaximum = 20000;

} // namespace

DialogInputDetails::DialogInputDetails(Doc& doc, ProjectState& project, QWidget* parent)
    : DialogBase(InputDetailsDialogForm::kTemplateId, parent)
    , m_ui(FormControls<InputDetailsDialogForm>(*this))
    , m_doc(doc)
    , m_project(project)
{
    Fields().Field(m_ui.intervalEdit, &Doc::reloadInterval);
    Fields().Field(m_ui.loadingMessageEdit, &Doc::loadingMessage);
    // The modern box fetches its lock data beside the page by the lock file's plain name.
    Fields().Field(m_ui.lockFileEdit, &Doc::lockFile, ModernBoxCheck(m_doc, FileNameRefusal));
    connect(
        m_ui.writeFileButton, &QPushButton::clicked, this, &DialogInputDetails::OnWriteInputFile);
}

void DialogInputDetails::OnInitDialog()
{
    DialogBase::OnInitDialog();
    m_ui.intervalUpDown->setRange(ControlOf(&Doc::reloadInterval).range.min, kArrowMaximum);
    SetButtonIcon(m_ui.writeFileButton, kFileIcon);
}

void DialogInputDetails::OnWriteInputFile()
{
    // A refused interval stops the exchange, so the name is then the one held before.
    UpdateData(true);
    QByteArray path = Fields().Copies().lockFile;
    DocOutputs(m_doc, m_project, this).SaveLockInputFile(path, true);
}
