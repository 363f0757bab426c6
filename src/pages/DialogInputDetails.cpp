#include "pages/DialogInputDetails.h"

#include "framework/ResourceIcon.h"
#include "framework/UpDown.h"
#include "publish/DocOutputs.h"

#include <QPushButton>

namespace {

constexpr int kLockFileEdit = 1302;
constexpr int kLoadingMessageEdit = 1303;
constexpr int kIntervalEdit = 1304;
constexpr int kIntervalUpDown = 1301;
constexpr int kWriteFileButton = 1305;

constexpr int kFileIcon = 203;
constexpr std::int32_t kMinimumInterval = 0;
constexpr std::int32_t kMaximumInterval = 5000;
// The arrows reach further than the dialog accepts; OK then names the real limit.
constexpr int kArrowMaximum = 20000;

} // namespace

DialogInputDetails::DialogInputDetails(Doc& doc, QWidget* parent)
    : DialogBase(1300, parent)
    , m_doc(doc)
{
    connect(Control<QPushButton>(kWriteFileButton), &QPushButton::clicked, this,
        &DialogInputDetails::OnWriteInputFile);
}

void DialogInputDetails::Exchange(DataExchange& exchange)
{
    exchange.Integer(kIntervalEdit, m_details.reloadInterval, kMinimumInterval, kMaximumInterval);
    exchange.Text(kLoadingMessageEdit, m_details.loadingMessage);
    exchange.Text(kLockFileEdit, m_details.lockFile);
}

void DialogInputDetails::OnInitDialog()
{
    DialogBase::OnInitDialog();
    Control<UpDown>(kIntervalUpDown)->setRange(kMinimumInterval, kArrowMaximum);
    SetButtonIcon(Control<QPushButton>(kWriteFileButton), kFileIcon);
}

void DialogInputDetails::OnWriteInputFile()
{
    // A refused interval stops the exchange, so the name is then the one held before.
    UpdateData(true);
    QByteArray path = m_details.lockFile;
    DocOutputs(m_doc, this).SaveLockInputFile(path, true);
}
