#include "pages/ViewGeneral.h"

#include "model/Doc.h"

ViewGeneral::ViewGeneral(Doc& doc, QWidget* parent)
    : FormView(GeneralPageForm::kTemplateId, doc, parent, GeneralPageForm::Id::picturePanel)
    , m_ui(FormControls<GeneralPageForm>(*this))
{
    Fields().Field(m_ui.widthEdit, &Doc::width);
    Fields().Field(m_ui.heightEdit, &Doc::height);
    Fields().Field(m_ui.initialMessageEdit, &Doc::initialMessage);
    Fields().Field(m_ui.loginLabelEdit, &Doc::loginLabel);
    Fields().Field(m_ui.passwordLabelEdit, &Doc::passwordLabel);
    Fields().Field(m_ui.userLabelEdit, &Doc::userLabel);
    Fields().Field(m_ui.triesEdit, &Doc::retries, m_ui.triesUpDown);
}
