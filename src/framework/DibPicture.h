#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QVector>

class QPainter;

// A packed device-independent bitmap (header, colour table, bottom-up rows) read from the program's
// resources and drawn with its own colours. The pixels are decoded once at load.
class DibPicture
{
public:
    // Reads ":/images/bitmap<id>.bmp" past its 14-byte file header. Fails when a picture is already
    // loaded or the resource is missing or malformed.
    bool Load(int resourceId);
    // The same from the bytes of a packed bitmap (information or core header first).
    bool LoadFromPackedDib(const QByteArray& dib);
    void Unload();

    bool IsLoaded() const { return !m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    // -1 when nothing is loaded.
    int BitsPerPixel() const { return m_bitsPerPixel; }
    int ColourCount() const { return m_colourCount; }
    // The colour table as the palette; empty above 8 bits per pixel. Realising a palette means
    // nothing on true-colour displays, so it is kept as data only.
    QVector<QRgb> Palette() const { return m_palette; }

    // Draws the source part of the picture (top-down picture coordinates) into the destination,
    // unscaled when the sizes match. Parts of the source outside the picture are not drawn.
    // Returns the number of picture rows drawn, 0 when nothing is loaded.
    int Draw(QPainter& painter, const QRect& destination, const QRect& source) const;

private:
    QImage m_image;
    QVector<QRgb> m_palette;
    int m_bitsPerPixel = -1;
    int m_colourCount = 0;
};

// A page's panel: the whole picture at natural size from the panel's top-left, not clipped to it.
void DrawPagePanel(QPainter& painter, const DibPicture& picture, const QRect& panel);

// A dialog's panel: the bottom-right panel-sized part of the picture fills the panel.
void DrawDialogPanel(QPainter& painter, const DibPicture& picture, const QRect& panel);
