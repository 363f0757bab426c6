#include "pages/DialogLogging.h"

namespace {

constexpr int kMailHostEdit = 2851;
constexpr int kSuccessEmailEdit = 2841;
constexpr int kFailEmailEdit = 2845;

} // namespace

DialogLogging::DialogLogging(QWidget* parent)
    : DialogBase(150, parent)
{
}

void DialogLogging::Exchange(DataExchange& exchange)
{
    exchange.Text(kMailHostEdit, m_settings.mailHost);
    exchange.Text(kSuccessEmailEdit, m_settings.successEmail);
    exchange.Text(kFailEmailEdit, m_settings.failEmail);
}
