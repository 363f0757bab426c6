#include "framework/FormView.h"

#include <QPainter>

FormView::FormView(int templateId, Doc& doc, QWidget* parent, int panelId)
    : QWidget(parent)
    , m_doc(doc)
    , m_host(*this, templateId, panelId, PicturePanel::Manner::Page)
{
}

FormView::~FormView() = default;

bool FormView::UpdateData(bool saveAndValidate)
{
    return m_host.UpdateData(
        saveAndValidate, [this](DataExchange& exchange) { Exchange(exchange); });
}

void FormView::OnInitialUpdate()
{
    m_fields.Load(m_doc);
    UpdateData(false);
}

bool FormView::Commit()
{
    const bool ok = UpdateData(true);
    m_fields.Commit(m_doc);
    return ok;
}

void FormView::Exchange(DataExchange& exchange)
{
    m_fields.Exchange(exchange);
}

void FormView::OnUpdate()
{
    UpdateData(false);
}

void FormView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_host.PaintPanel(painter);
}
