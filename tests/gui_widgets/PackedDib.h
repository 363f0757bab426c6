#pragma once

#include <QByteArray>
#include <QColor>
#include <QVector>

#include <functional>

// A bitmap for the picture tests; PackedDib writes its bytes independently of the reader.
struct TestBitmap
{
    bool coreHeader = false;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;
    QVector<QRgb> table;
    // A table index, or an RGB value above 8 bits per pixel; top-down coordinates.
    std::function<quint32(int x, int y)> pixel;

    QRgb colourAt(int x, int y) const
    {
        const quint32 value = pixel(x, y);
        return bitsPerPixel <= 8 ? table[int(value)] : QRgb(value | 0xFF000000);
    }
};

inline void AppendLittleEndian(QByteArray& bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char(value >> (8 * i)));
}

inline QByteArray PackedDib(const TestBitmap& bitmap)
{
    QByteArray bytes;
    // Header: size, width, height, planes, bits; the information header adds compression 0,
    // image size, resolutions, colours used and colours important.
    const int wordSize = bitmap.coreHeader ? 2 : 4;
    AppendLittleEndian(bytes, bitmap.coreHeader ? 12 : 40, 4);
    AppendLittleEndian(bytes, quint32(bitmap.width), wordSize);
    AppendLittleEndian(bytes, quint32(bitmap.height), wordSize);
    AppendLittleEndian(bytes, 1, 2);
    AppendLittleEndian(bytes, quint32(bitmap.bitsPerPixel), 2);
    if (!bitmap.coreHeader) {
        for (const quint32 field : { 0, 0, 2835, 2835, int(bitmap.table.size()), 0 })
            AppendLittleEndian(bytes, field, 4);
    }
    for (const QRgb colour : bitmap.table)
        AppendLittleEndian(bytes, colour & 0xFFFFFF, bitmap.coreHeader ? 3 : 4);
    for (int y = bitmap.height - 1; y >= 0; --y) {
        QByteArray row;
        quint32 bits = 0;
        int bitCount = 0;
        for (int x = 0; x < bitmap.width; ++x) {
            if (bitmap.bitsPerPixel > 8) {
                AppendLittleEndian(row, bitmap.pixel(x, y), bitmap.bitsPerPixel / 8);
                continue;
            }
            bits = (bits << bitmap.bitsPerPixel) | bitmap.pixel(x, y);
            bitCount += bitmap.bitsPerPixel;
            if (bitCount == 8 || x == bitmap.width - 1) {
                row.append(char(bits << (8 - bitCount)));
                bits = 0;
                bitCount = 0;
            }
        }
        bytes.append(row.leftJustified((row.size() + 3) / 4 * 4, '\0'));
    }
    return bytes;
}
