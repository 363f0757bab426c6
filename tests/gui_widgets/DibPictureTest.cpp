#include "framework/DibPicture.h"

#include "PackedDib.h"

#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QRgb Background = qRgb(1, 2, 3);

QVector<QRgb> Ramp(int count)
{
    QVector<QRgb> table;
    for (int i = 0; i < count; ++i)
        table.append(qRgb(i, 255 - i, (i * 7) & 0xFF));
    return table;
}

TestBitmap Indexed(int bits, int width, int height, int colours, bool core = false)
{
    return { core, width, height, bits, Ramp(colours),
        [=](int x, int y) { return quint32((x * 3 + y * 5 + 1) % colours); } };
}

TestBitmap TrueColour(int bits, int width, int height)
{
    // Rows told apart by red and green, columns by blue.
    return { false, width, height, bits, {},
        [](int x, int y) { return quint32(qRgb(y & 0xFF, y >> 8, x & 0xFF) & 0xFFFFFF); } };
}

// Paints on a canvas of the background colour; `lines` receives Draw's result.
QImage Painted(const DibPicture& picture, QSize canvas, const QRect& destination,
    const QRect& source, int* lines = nullptr)
{
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(Background);
    QPainter painter(&image);
    const int drawn = picture.Draw(painter, destination, source);
    if (lines)
        *lines = drawn;
    return image;
}

void ExpectPixels(const DibPicture& picture, const TestBitmap& bitmap)
{
    const QRect whole(0, 0, bitmap.width, bitmap.height);
    const QImage image = Painted(picture, whole.size(), whole, whole);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x)
            ASSERT_EQ(image.pixel(x, y), bitmap.colourAt(x, y)) << "at " << x << "," << y;
    }
}

TEST(DibPictureLoad, ReadsBothHeadersAndEveryDepth)
{
    struct Case
    {
        const char* name;
        TestBitmap bitmap;
        int colourCount;
    };
    // Odd widths leave padding at the end of the rows; 300 needs both bytes of a core width.
    const Case cases[] = {
        { "information, 8 bits", Indexed(8, 3, 2, 256), 256 },
        { "information, 8 bits, 5 colours used", Indexed(8, 6, 3, 5), 5 },
        { "information, 4 bits", Indexed(4, 5, 3, 16), 16 },
        { "information, 1 bit", Indexed(1, 11, 2, 2), 2 },
        { "core, 4 bits", Indexed(4, 5, 3, 16, true), 16 },
        { "core, 8 bits", Indexed(8, 300, 2, 256, true), 256 },
        { "information, 24 bits", TrueColour(24, 5, 3), 1 << 24 },
        { "information, 32 bits", TrueColour(32, 3, 2), 1 << 24 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibPicture picture;
        ASSERT_TRUE(picture.LoadFromPackedDib(PackedDib(c.bitmap)));
        EXPECT_EQ(picture.Width(), c.bitmap.width);
        EXPECT_EQ(picture.Height(), c.bitmap.height);
        EXPECT_EQ(picture.BitsPerPixel(), c.bitmap.bitsPerPixel);
        EXPECT_EQ(picture.ColourCount(), c.colourCount);
        EXPECT_EQ(picture.Palette(), c.bitmap.table);
        ExpectPixels(picture, c.bitmap);
    }

    // No "colours used" means the full table.
    QByteArray unsaid = PackedDib(Indexed(8, 3, 2, 256));
    unsaid[32] = 0;
    unsaid[33] = 0;
    DibPicture picture;
    ASSERT_TRUE(picture.LoadFromPackedDib(unsaid));
    EXPECT_EQ(picture.ColourCount(), 256);
}

TEST(DibPictureLoad, RefusesShortOrUndrawableData)
{
    for (const QByteArray& bytes : { PackedDib(Indexed(8, 3, 2, 256)),
             PackedDib(Indexed(4, 5, 3, 16, true)), PackedDib(TrueColour(24, 5, 3)) }) {
        for (int length = 0; length < bytes.size(); ++length) {
            DibPicture picture;
            // An exact-length copy, so that the sanitizers catch any read past it.
            EXPECT_FALSE(picture.LoadFromPackedDib(QByteArray(bytes.constData(), length)))
                << length << " of " << bytes.size();
            EXPECT_EQ(picture.BitsPerPixel(), -1);
        }
    }

    const QByteArray good = PackedDib(Indexed(8, 3, 2, 256));
    const auto refusedWith = [&](int offset, char value) {
        QByteArray bytes = good;
        bytes[offset] = value;
        return !DibPicture().LoadFromPackedDib(bytes);
    };
    EXPECT_TRUE(refusedWith(16, 1)) << "compressed";
    EXPECT_TRUE(refusedWith(14, 16)) << "16 bits per pixel";
    EXPECT_TRUE(refusedWith(4, 0)) << "no width";
    EXPECT_TRUE(refusedWith(10, 0x7F)) << "more rows than bytes";
    EXPECT_TRUE(refusedWith(2, 1)) << "header larger than the data";
    EXPECT_TRUE(!DibPicture().LoadFromPackedDib(PackedDib(Indexed(4, 5, 3, 17))))
        << "more colours than 4 bits can index";
}

TEST(DibPictureLoad, SecondLoadFailsAndKeepsTheFirst)
{
    const TestBitmap first = Indexed(8, 3, 2, 256);
    const TestBitmap second = Indexed(4, 5, 3, 16, true);
    DibPicture picture;
    ASSERT_TRUE(picture.LoadFromPackedDib(PackedDib(first)));
    EXPECT_FALSE(picture.LoadFromPackedDib(PackedDib(second)));
    EXPECT_FALSE(picture.Load(300));
    ExpectPixels(picture, first);

    picture.Unload();
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.BitsPerPixel(), -1);
    EXPECT_TRUE(picture.Palette().isEmpty());
    int lines = -1;
    const QImage canvas
        = Painted(picture, QSize(4, 4), QRect(0, 0, 3, 2), QRect(0, 0, 3, 2), &lines);
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(canvas.pixel(0, 0), Background);

    ASSERT_TRUE(picture.LoadFromPackedDib(PackedDib(second)));
    ExpectPixels(picture, second);
}

TEST(DibPictureLoad, ProgramBitmapsByNumber)
{
    EXPECT_FALSE(DibPicture().Load(9999));
    if (!QFile::exists(QStringLiteral(":/images/bitmap300.bmp")))
        GTEST_SKIP() << "the program's bitmaps are not in the resources";
    for (const auto& [id, size] :
        { std::pair(300, QSize(134, 334)), std::pair(303, QSize(544, 340)) }) {
        DibPicture picture;
        ASSERT_TRUE(picture.Load(id)) << id;
        EXPECT_EQ(QSize(picture.Width(), picture.Height()), size) << id;
        EXPECT_EQ(picture.BitsPerPixel(), 8) << id;
    }
}

class DibPictureDraw : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_picture.LoadFromPackedDib(PackedDib(m_bitmap))); }

    TestBitmap m_bitmap = Indexed(8, 3, 2, 256);
    DibPicture m_picture;
};

TEST_F(DibPictureDraw, CopiesOnlyTheSourcePartThatLiesInThePicture)
{
    int lines = 0;
    QImage canvas = Painted(m_picture, QSize(6, 6), QRect(1, 1, 2, 1), QRect(1, 1, 2, 1), &lines);
    EXPECT_EQ(lines, 1);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool drawn = y == 1 && (x == 1 || x == 2);
            EXPECT_EQ(canvas.pixel(x, y), drawn ? m_bitmap.colourAt(x, y) : Background)
                << x << "," << y;
        }
    }

    canvas = Painted(m_picture, QSize(6, 6), QRect(0, 0, 4, 4), QRect(-1, -1, 4, 4), &lines);
    EXPECT_EQ(lines, 2);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool inside = x >= 1 && y >= 1 && y <= 2;
            EXPECT_EQ(canvas.pixel(x, y), inside ? m_bitmap.colourAt(x - 1, y - 1) : Background)
                << x << "," << y;
        }
    }

    canvas = Painted(m_picture, QSize(6, 6), QRect(0, 0, 3, 2), QRect(3, 0, 3, 2), &lines);
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(canvas.pixel(0, 0), Background);
}

TEST_F(DibPictureDraw, ScalesWhenTheSizesDiffer)
{
    int lines = 0;
    const QImage canvas
        = Painted(m_picture, QSize(8, 8), QRect(1, 1, 6, 4), QRect(0, 0, 3, 2), &lines);
    EXPECT_EQ(lines, 2);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(canvas.pixel(1 + x, 1 + y), m_bitmap.colourAt(x / 2, y / 2)) << x << "," << y;
    }
    EXPECT_EQ(canvas.pixel(7, 5), Background);
    EXPECT_EQ(canvas.pixel(1, 5), Background);
}

// The panels of the program: a 134 x 334 picture where every row and column has its own colour.
class DibPicturePanels : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_picture.LoadFromPackedDib(PackedDib(m_bitmap))); }

    template<typename Painter> QImage Panel(Painter paint, const QRect& panel) const
    {
        QImage image(200, 420, QImage::Format_RGB32);
        image.fill(Background);
        QPainter painter(&image);
        paint(painter, m_picture, panel);
        return image;
    }

    TestBitmap m_bitmap = TrueColour(24, 134, 334);
    DibPicture m_picture;
};

TEST_F(DibPicturePanels, DialogPanelShowsTheBottomRightPart)
{
    const QRect panel(10, 20, 134, 283);
    const QImage image = Panel(DrawDialogPanel, panel);
    // The top 51 rows stay hidden: the panel starts with row 51 and ends with the last row.
    for (const int x : { 0, 67, 133 }) {
        for (int y = 0; y < panel.height(); ++y)
            ASSERT_EQ(image.pixel(panel.left() + x, panel.top() + y), m_bitmap.colourAt(x, 51 + y))
                << x << "," << y;
        EXPECT_EQ(image.pixel(panel.left() + x, panel.top() - 1), Background);
        EXPECT_EQ(image.pixel(panel.left() + x, panel.bottom() + 1), Background);
    }
    EXPECT_EQ(image.pixel(panel.left() - 1, panel.top()), Background);
    EXPECT_EQ(image.pixel(panel.right() + 1, panel.top()), Background);

    // A larger panel moves the picture within a picture-sized area at its top-left; what moves
    // out of that area is not drawn.
    const QImage large = Panel(DrawDialogPanel, QRect(0, 0, 150, 350));
    EXPECT_EQ(large.pixel(15, 15), Background);
    EXPECT_EQ(large.pixel(16, 16), m_bitmap.colourAt(0, 0));
    EXPECT_EQ(large.pixel(133, 333), m_bitmap.colourAt(117, 317));
    EXPECT_EQ(large.pixel(134, 333), Background);
    EXPECT_EQ(large.pixel(133, 334), Background);
}

TEST_F(DibPicturePanels, PagePanelDrawsTheWholePictureFromItsTopLeft)
{
    // A panel shorter than the picture does not clip it.
    const QImage image = Panel(DrawPagePanel, QRect(10, 20, 134, 300));
    EXPECT_EQ(image.pixel(10, 20), m_bitmap.colourAt(0, 0));
    EXPECT_EQ(image.pixel(143, 20 + 333), m_bitmap.colourAt(133, 333));
    EXPECT_EQ(image.pixel(10, 20 + 334), Background);
    EXPECT_EQ(image.pixel(9, 20), Background);
    EXPECT_EQ(image.pixel(10, 19), Background);
}

} // namespace
