#include "framework/PicturePanel.h"

#include "framework/ResourceIcon.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QRgb Background = qRgb(1, 2, 3);

// Every row and column has its own colour: rows told apart by red and green, columns by blue.
QRgb ColourAt(int x, int y)
{
    return qRgb(y & 0xFF, y >> 8, x & 0xFF);
}

TEST(ResourceBitmap, ProgramBitmapsByNumber)
{
    EXPECT_TRUE(ResourceBitmap(9999).isNull());
    if (!QFile::exists(QStringLiteral(":/images/bitmap300.bmp")))
        GTEST_SKIP() << "the program's bitmaps are not in the resources";
    for (const auto& [id, size] :
        { std::pair(300, QSize(134, 334)), std::pair(303, QSize(544, 340)) }) {
        const QImage picture = ResourceBitmap(id);
        EXPECT_EQ(picture.size(), size) << id;
        EXPECT_EQ(picture.colorCount(), 256) << id;
    }
}

TEST(IconReadWhenDrawn, TellsItsSizesAtOnceAndReadsItsFilesAtTheFirstPicture)
{
    QTemporaryDir folder;
    const QString pattern = folder.filePath(QStringLiteral("icon-%1.png"));
    const QIcon icon = IconReadWhenDrawn(pattern, { 16, 32 });
    // The files do not exist yet: nothing has been read.
    EXPECT_EQ(icon.availableSizes(), (QList<QSize> { QSize(16, 16), QSize(32, 32) }));
    for (const auto& [side, colour] : { std::pair(16, Qt::red), std::pair(32, Qt::blue) }) {
        QImage image(side, side, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(pattern.arg(side)));
    }
    for (const auto& [side, colour] : { std::pair(16, Qt::red), std::pair(32, Qt::blue) }) {
        const QImage drawn = icon.pixmap(side).toImage();
        EXPECT_EQ(drawn.size(), QSize(side, side));
        EXPECT_EQ(drawn.pixelColor(side / 2, side / 2), QColor(colour)) << side;
    }
}

// The panels of the program, with a picture of the panel bitmap's size.
class PicturePanels : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int y = 0; y < m_picture.height(); ++y) {
            for (int x = 0; x < m_picture.width(); ++x)
                m_picture.setPixel(x, y, ColourAt(x, y));
        }
    }

    template<typename Painter> QImage Panel(Painter paint, const QRect& panel) const
    {
        QImage image(200, 420, QImage::Format_RGB32);
        image.fill(Background);
        QPainter painter(&image);
        paint(painter, m_picture, panel);
        return image;
    }

    QImage m_picture { 134, 334, QImage::Format_RGB32 };
};

TEST_F(PicturePanels, DialogPanelShowsTheBottomRightPart)
{
    const QRect panel(10, 20, 134, 283);
    const QImage image = Panel(DrawDialogPanel, panel);
    // The top 51 rows stay hidden: the panel starts with row 51 and ends with the last row.
    for (const int x : { 0, 67, 133 }) {
        for (int y = 0; y < panel.height(); ++y)
            ASSERT_EQ(image.pixel(panel.left() + x, panel.top() + y), ColourAt(x, 51 + y))
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
    EXPECT_EQ(large.pixel(16, 16), ColourAt(0, 0));
    EXPECT_EQ(large.pixel(133, 333), ColourAt(117, 317));
    EXPECT_EQ(large.pixel(134, 333), Background);
    EXPECT_EQ(large.pixel(133, 334), Background);
}

TEST_F(PicturePanels, PagePanelDrawsTheWholePictureFromItsTopLeft)
{
    // A panel shorter than the picture does not clip it.
    const QImage image = Panel(DrawPagePanel, QRect(10, 20, 134, 300));
    EXPECT_EQ(image.pixel(10, 20), ColourAt(0, 0));
    EXPECT_EQ(image.pixel(143, 20 + 333), ColourAt(133, 333));
    EXPECT_EQ(image.pixel(10, 20 + 334), Background);
    EXPECT_EQ(image.pixel(9, 20), Background);
    EXPECT_EQ(image.pixel(10, 19), Background);
}

} // namespace
