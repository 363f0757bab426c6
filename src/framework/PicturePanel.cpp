#include "framework/PicturePanel.h"

#include "framework/ResourceIcon.h"

#include <QPainter>
#include <QWidget>

namespace {

constexpr int kPanelBitmap = 300;

// Every page and dialog shows the same picture: read once, when the first panel is drawn, so
// that the pages the first window does not show cost nothing.
const QImage& PanelPicture()
{
    static const QImage picture = ResourceBitmap(kPanelBitmap);
    return picture;
}

} // namespace

PicturePanel::PicturePanel(const QWidget& placeholder, Manner manner)
    : m_placeholder(placeholder)
    , m_manner(manner)
{
}

void PicturePanel::Paint(QPainter& painter) const
{
    if (m_manner == Manner::Page)
        DrawPagePanel(painter, PanelPicture(), m_placeholder.geometry());
    else
        DrawDialogPanel(painter, PanelPicture(), m_placeholder.geometry());
}

void DrawPagePanel(QPainter& painter, const QImage& picture, const QRect& panel)
{
    painter.drawImage(panel.topLeft(), picture);
}

void DrawDialogPanel(QPainter& painter, const QImage& picture, const QRect& panel)
{
    const QPoint hidden(picture.width() - panel.width(), picture.height() - panel.height());
    const QRect shown = QRect(hidden, picture.size()).intersected(picture.rect());
    painter.drawImage(panel.topLeft() + shown.topLeft() - hidden, picture, shown);
}
