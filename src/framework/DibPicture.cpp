#include "framework/DibPicture.h"

#include <QFile>
#include <QPainter>
#include <QtEndian>

#include <cstdlib>

namespace {

constexpr qint64 FileHeaderSize = 14;
constexpr quint32 InfoHeaderSize = 40;
constexpr quint32 CoreHeaderSize = 12;
constexpr int InfoEntrySize = 4;
constexpr int CoreEntrySize = 3;
// Above 8 bits a pixel holds at most 24 bits of colour.
constexpr int TrueColourCount = 1 << 24;

quint16 ReadU16(const char* at)
{
    return qFromLittleEndian<quint16>(at);
}

quint32 ReadU32(const char* at)
{
    return qFromLittleEndian<quint32>(at);
}

// What the header says about the pixels; the header must already be known to fit the buffer.
struct DibLayout
{
    qint64 width = 0;
    qint64 height = 0; // negative: rows stored top row first
    int bitsPerPixel = 0;
    quint32 compression = 0;
    qint64 colourCount = 0;
    int entrySize = 0;
};

DibLayout ReadLayout(const char* data, quint32 headerSize)
{
    DibLayout layout;
    if (headerSize == InfoHeaderSize) {
        layout.width = qint32(ReadU32(data + 4));
        layout.height = qint32(ReadU32(data + 8));
        layout.bitsPerPixel = ReadU16(data + 14);
        layout.compression = ReadU32(data + 16);
        layout.colourCount = ReadU32(data + 32);
        layout.entrySize = InfoEntrySize;
    } else {
        layout.width = ReadU16(data + 4);
        layout.height = ReadU16(data + 6);
        layout.bitsPerPixel = ReadU16(data + 10);
        layout.entrySize = CoreEntrySize;
    }
    if (layout.colourCount == 0)
        layout.colourCount = layout.bitsPerPixel <= 8 ? 1 << layout.bitsPerPixel : TrueColourCount;
    return layout;
}

bool IsSupported(const DibLayout& layout)
{
    // Only uncompressed rows are decoded here.
    if (layout.compression != 0 || layout.width <= 0 || layout.height == 0)
        return false;
    switch (layout.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
        return layout.colourCount <= (1 << layout.bitsPerPixel);
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

QRgb IndexedPixel(const uchar* row, int x, int bitsPerPixel, const QVector<QRgb>& palette)
{
    const int perByte = 8 / bitsPerPixel;
    const int shift = (perByte - 1 - x % perByte) * bitsPerPixel;
    const int index = (row[x / perByte] >> shift) & ((1 << bitsPerPixel) - 1);
    // Indices past the colour table have no colour of their own.
    return index < palette.size() ? palette[index] : qRgb(0, 0, 0);
}

void DecodeRow(
    const uchar* row, QRgb* out, int width, int bitsPerPixel, const QVector<QRgb>& palette)
{
    const int bytesPerPixel = bitsPerPixel / 8;
    for (int x = 0; x < width; ++x) {
        if (bitsPerPixel <= 8) {
            out[x] = IndexedPixel(row, x, bitsPerPixel, palette);
        } else {
            const uchar* pixel = row + x * bytesPerPixel;
            out[x] = qRgb(pixel[2], pixel[1], pixel[0]);
        }
    }
}

} // namespace

bool DibPicture::Load(int resourceId)
{
    if (IsLoaded())
        return false;
    QFile file(QStringLiteral(":/images/bitmap%1.bmp").arg(resourceId));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < FileHeaderSize || !bytes.startsWith("BM"))
        return false;
    return LoadFromPackedDib(bytes.mid(FileHeaderSize));
}

bool DibPicture::LoadFromPackedDib(const QByteArray& dib)
{
    if (IsLoaded() || dib.size() < 4)
        return false;
    const char* data = dib.constData();
    const quint32 headerSize = ReadU32(data);
    if (headerSize < CoreHeaderSize || headerSize > quint32(dib.size()))
        return false;
    const DibLayout layout = ReadLayout(data, headerSize);
    if (!IsSupported(layout))
        return false;

    const qint64 tableSize
        = layout.bitsPerPixel <= 8 ? layout.colourCount * layout.entrySize : qint64(0);
    const qint64 pixelsAt = headerSize + tableSize;
    const qint64 stride = (layout.width * layout.bitsPerPixel + 31) / 32 * 4;
    const qint64 rows = std::abs(layout.height);
    if (pixelsAt + stride * rows > dib.size())
        return false;

    QVector<QRgb> palette;
    if (layout.bitsPerPixel <= 8) {
        palette.reserve(int(layout.colourCount));
        for (qint64 i = 0; i < layout.colourCount; ++i) {
            const auto* entry
                = reinterpret_cast<const uchar*>(data + headerSize + i * layout.entrySize);
            palette.append(qRgb(entry[2], entry[1], entry[0]));
        }
    }

    QImage image(int(layout.width), int(rows), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    const auto* pixels = reinterpret_cast<const uchar*>(data + pixelsAt);
    for (int y = 0; y < rows; ++y) {
        const qint64 stored = layout.height < 0 ? y : rows - 1 - y;
        DecodeRow(pixels + stored * stride, reinterpret_cast<QRgb*>(image.scanLine(y)),
            image.width(), layout.bitsPerPixel, palette);
    }

    m_image = std::move(image);
    m_palette = std::move(palette);
    m_bitsPerPixel = layout.bitsPerPixel;
    m_colourCount = int(layout.colourCount);
    return true;
}

void DibPicture::Unload()
{
    m_image = QImage();
    m_palette.clear();
    m_bitsPerPixel = -1;
    m_colourCount = 0;
}

int DibPicture::Draw(QPainter& painter, const QRect& destination, const QRect& source) const
{
    if (!IsLoaded() || source.isEmpty() || destination.isEmpty())
        return 0;
    const QRect visible = source.intersected(m_image.rect());
    if (visible.isEmpty())
        return 0;
    // The visible part of the source keeps its place within the destination, scaled with it.
    const qreal scaleX = qreal(destination.width()) / source.width();
    const qreal scaleY = qreal(destination.height()) / source.height();
    const QRectF target(destination.left() + (visible.left() - source.left()) * scaleX,
        destination.top() + (visible.top() - source.top()) * scaleY, visible.width() * scaleX,
        visible.height() * scaleY);
    painter.save();
    // Scaling drops or repeats whole pixels rather than blending them.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, m_image, QRectF(visible));
    painter.restore();
    return visible.height();
}

void DrawPagePanel(QPainter& painter, const DibPicture& picture, const QRect& panel)
{
    const QSize size(picture.Width(), picture.Height());
    picture.Draw(painter, QRect(panel.topLeft(), size), QRect(QPoint(0, 0), size));
}

void DrawDialogPanel(QPainter& painter, const DibPicture& picture, const QRect& panel)
{
    const QSize size(picture.Width(), picture.Height());
    const QPoint hidden(size.width() - panel.width(), size.height() - panel.height());
    picture.Draw(painter, QRect(panel.topLeft(), size), QRect(hidden, size));
}
