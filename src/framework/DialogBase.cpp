#include "framework/DialogBase.h"

#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

DialogBase::DialogBase(int templateId, QWidget* parent, int panelId)
    : QDialog(parent)
    , m_host(*this, templateId, panelId, PicturePanel::Manner::Dialog)
{
    setWindowTitle(m_host.Builder().Template().caption);
    setModal(true);
    if (auto* ok = qobject_cast<QPushButton*>(m_host.ControlWithId(kIdOk)))
        connect(ok, &QPushButton::clicked, this, &DialogBase::accept);
    if (auto* cancel = qobject_cast<QPushButton*>(m_host.ControlWithId(kIdCancel)))
        connect(cancel, &QPushButton::clicked, this, &DialogBase::reject);
}

DialogBase::~DialogBase() = default;

bool DialogBase::UpdateData(bool saveAndValidate)
{
    return m_host.UpdateData(
        saveAndValidate, [this](DataExchange& exchange) { Exchange(exchange); });
}

void DialogBase::accept()
{
    OnOK();
}

void DialogBase::Exchange(DataExchange& exchange)
{
    m_fields.Exchange(exchange);
}

void DialogBase::OnInitDialog()
{
    if (m_values)
        m_fields.Load(*m_values);
    UpdateData(false);
}

void DialogBase::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_values)
        m_fields.Commit(*m_values);
    QDialog::accept();
}

void DialogBase::showEvent(QShowEvent* event)
{
    // Each showing is a new run of the dialog, as each modal run used to create it afresh.
    if (!event->spontaneous() && !m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void DialogBase::done(int result)
{
    m_initialised = false;
    QDialog::done(result);
}

void DialogBase::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    m_host.PaintPanel(painter);
}
