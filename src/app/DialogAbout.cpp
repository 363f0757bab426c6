#include "app/DialogAbout.h"

namespace {

enum ControlId : int {
    kPicture = 121,
    kProductName = 2601,
    kProductVersion = 2602,
    kPrivateBuild = 2603,
    kFileDescription = 2607,
    kLegalCopyright = 2608,
    kLegalTrademarks = 2611,
};

} // namespace

DialogAbout::DialogAbout(const ProgramInfo& info, QWidget* parent)
    : DialogBase(2600, parent, kPicture)
    , m_info(info)
{
}

void DialogAbout::Exchange(DataExchange& exchange)
{
    exchange.Text(kProductName, m_info.productName);
    exchange.Text(kFileDescription, m_info.fileDescription);
    exchange.Text(kProductVersion, m_info.productVersion);
    exchange.Text(kPrivateBuild, m_info.privateBuild);
    exchange.Text(kLegalCopyright, m_info.legalCopyright);
    exchange.Text(kLegalTrademarks, m_info.legalTrademarks);
}
