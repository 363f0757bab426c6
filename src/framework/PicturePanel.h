#pragma once

#include "framework/DibPicture.h"

class QPainter;
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
    DibPicture m_picture;
};
