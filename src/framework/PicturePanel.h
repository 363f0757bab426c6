#pragma once

#include <QImage>

class QPainter;
class QRect;
class QWidget;

// The tall picture along a page's or dialog's left edge, drawn where a placeholder control sits.
// Pages draw it at natural size from the placeholder's top-left corner; dialogs show its
// bottom-right part, placeholder-sized.
class PicturePanel
{
public:
    enum class Manner { Page, Dialog };

    PicturePanel(const QWidget& placeholder, Manner manner);

    void Paint(QPainter& painter) const;

private:
    const QWidget& m_placeholder;
    Manner m_manner;
};

// A page's panel: the whole picture at natural size from the panel's top-left, not clipped to it.
void DrawPagePanel(QPainter& painter, const QImage& picture, const QRect& panel);

// A dialog's panel: the bottom-right panel-sized part of the picture fills the panel. A panel
// larger than the picture moves it within a picture-sized area at the panel's top-left, and what
// moves out of that area is not drawn.
void DrawDialogPanel(QPainter& painter, const QImage& picture, const QRect& panel);
