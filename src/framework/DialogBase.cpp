#include "framework/DialogBase.h"

#include "framework/PicturePanel.h"

#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

DialogBase::DialogBase(int templateId, QWidget* parent, int panelId)
    : QDialog(parent)
    , m_builder(LoadDialogTemplate(templateId).value_or(DialogTemplate {}))
{
    m_builder.Build(this);
    setWindowTitle(m_builder.Template().caption);
    setModal(true);
    if (QWidget* placeholder = m_builder.ControlWithId(*this, panelId))
        m_panel = std::make_unique<PicturePanel>(*placeholder, PicturePanel::Manner::Dialog);
    if (auto* ok = qobject_cast<QPushButton*>(m_builder.ControlWithId(*this, kIdOk)))
        connect(ok, &QPushButton::clicked, this, &DialogBase::accept);
    if (auto* cancel = qobject_cast<QPushButton*>(m_builder.ControlWithId(*this, kIdCancel)))
        connect(cancel, &QPushButton::clicked, this, &DialogBase::reject);
}

DialogBase::~DialogBase() = default;

bool DialogBase::UpdateData(bool saveAndValidate)
{
    DataExchange exchange(this, saveAndValidate);
    Exchange(exchange);
    return exchange.Ok();
}

void DialogBase::accept()
{
    OnOK();
}

void DialogBase::Exchange(DataExchange&) { }

void DialogBase::OnInitDialog()
{
    UpdateData(false);
}

void DialogBase::OnOK()
{
    if (UpdateData(true))
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
    if (!m_panel)
        return;
    QPainter painter(this);
    m_panel->Paint(painter);
}
