#include "framework/PicturePanel.h"

#include "framework/TemplateBuilder.h"

#include <QPainter>

namespace {

constexpr int kPanelBitmap = 300;

} // namespace

PicturePanel::PicturePanel(QWidget* form, int placeholderId, Manner manner)
    : m_form(form)
    , m_placeholderId(placeholderId)
    , m_manner(manner)
{
    m_picture.Load(kPanelBitmap);
}

void PicturePanel::Paint(QPainter& painter) const
{
    const QWidget* placeholder = FindControl(m_form, m_placeholderId);
    if (!placeholder)
        return;
    if (m_manner == Manner::Page)
        DrawPagePanel(painter, m_picture, placeholder->geometry());
    else
        DrawDialogPanel(painter, m_picture, placeholder->geometry());
}
