#include "framework/PicturePanel.h"

#include <QPainter>
#include <QWidget>

namespace {

constexpr int kPanelBitmap = 300;

} // namespace

PicturePanel::PicturePanel(const QWidget& placeholder, Manner manner)
    : m_placeholder(placeholder)
    , m_manner(manner)
{
    m_picture.Load(kPanelBitmap);
}

void PicturePanel::Paint(QPainter& painter) const
{
    if (m_manner == Manner::Page)
        DrawPagePanel(painter, m_picture, m_placeholder.geometry());
    else
        DrawDialogPanel(painter, m_picture, m_placeholder.geometry());
}
