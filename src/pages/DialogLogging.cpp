#include "pages/DialogLogging.h"

DialogLogging::DialogLogging(QWidget* parent)
    : DialogBase(LoggingDialogForm::kTemplateId, parent)
    , m_ui(FormControls<LoggingDialogForm>(*this))
{
}

void DialogLogging::Exchange(DataExchange& exchange)
{
    exchange.Text(m_ui.mailHostEdit, m_settings.mailHost);
    exchange.Text(m_ui.successEmailEdit, m_settings.successEmail);
    exchange.Text(m_ui.failEmailEdit, m_settings.failEmail);
}
