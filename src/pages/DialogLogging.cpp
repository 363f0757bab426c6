#include "pages/DialogLogging.h"

#include "model/Doc.h"

DialogLogging::DialogLogging(QWidget* parent)
    : DialogBase(LoggingDialogForm::kTemplateId, parent)
    , m_ui(FormControls<LoggingDialogForm>(*this))
{
    Fields().Field(m_ui.mailHostEdit, &Doc::mailHost);
    Fields().Field(m_ui.correctEmailEdit, &Doc::correctEmail);
    Fields().Field(m_ui.failEmailEdit, &Doc::failEmail);
}
