#include "app/DialogAbout.h"

DialogAbout::DialogAbout(const ProgramInfo& info, QWidget* parent)
    : DialogBase(AboutDialogForm::kTemplateId, parent, AboutDialogForm::Id::picturePanel)
    , m_ui(FormControls<AboutDialogForm>(*this))
    , m_info(info)
{
}

void DialogAbout::Exchange(DataExchange& exchange)
{
    exchange.Text(m_ui.productName, m_info.productName);
    exchange.Text(m_ui.fileDescription, m_info.fileDescription);
    exchange.Text(m_ui.productVersion, m_info.productVersion);
    exchange.Text(m_ui.privateBuild, m_info.privateBuild);
    exchange.Text(m_ui.legalCopyright, m_info.legalCopyright);
    exchange.Text(m_ui.legalTrademarks, m_info.legalTrademarks);
}
