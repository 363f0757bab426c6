#include "framework/FormHost.h"

FormHost::FormHost(QWidget& form, int templateId, int panelId, PicturePanel::Manner manner)
    : m_form(form)
    , m_builder(LoadDialogTemplate(templateId).value_or(DialogTemplate {}))
{
    m_builder.Build(&m_form);
    if (QWidget* placeholder = ControlWithId(panelId))
        m_panel = std::make_unique<PicturePanel>(*placeholder, manner);
}

FormHost::~FormHost() = default;

bool FormHost::UpdateData(bool saveAndValidate, const std::function<void(DataExchange&)>& exchange)
{
    DataExchange pass(&m_form, saveAndValidate);
    exchange(pass);
    return pass.Ok();
}

void FormHost::PaintPanel(QPainter& painter) const
{
    if (m_panel)
        m_panel->Paint(painter);
}
