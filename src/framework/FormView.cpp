#include "framework/FormView.h"

#include "framework/PicturePanel.h"

#include <QPainter>

FormView::FormView(int templateId, Doc& doc, QWidget* parent, int panelId)
    : QWidget(parent)
    , m_doc(doc)
    , m_builder(LoadDialogTemplate(templateId).value_or(DialogTemplate {}))
{
    m_builder.Build(this);
    if (QWidget* placeholder = m_builder.ControlWithId(*this, panelId))
        m_panel = std::make_unique<PicturePanel>(*placeholder, PicturePanel::Manner::Page);
}

FormView::~FormView() = default;

bool FormView::UpdateData(bool saveAndValidate)
{
    DataExchange exchange(this, saveAndValidate);
    Exchange(exchange);
    return exchange.Ok();
}

void FormView::OnInitialUpdate()
{
    UpdateData(false);
}

void FormView::OnUpdate()
{
    UpdateData(false);
}

void FormView::paintEvent(QPaintEvent*)
{
    if (!m_panel)
        return;
    QPainter painter(this);
    m_panel->Paint(painter);
}
