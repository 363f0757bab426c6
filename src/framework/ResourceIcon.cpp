#include "framework/ResourceIcon.h"

#include <QAbstractButton>
#include <QFile>
#include <QIconEngine>
#include <QPainter>

#include <algorithm>

namespace {

// Room left around an icon so that the button's frame stays visible.
constexpr int kFrameMargin = 6;

// Answers its sizes from what it was told and reads the files at the first picture asked of it.
class IconEngineReadWhenDrawn : public QIconEngine
{
public:
    IconEngineReadWhenDrawn(const QString& pathPattern, const QList<int>& sizes)
        : m_pathPattern(pathPattern)
        , m_sizes(sizes)
    {
    }

    QIconEngine* clone() const override
    {
        return new IconEngineReadWhenDrawn(m_pathPattern, m_sizes);
    }
    QString key() const override { return QStringLiteral("IconEngineReadWhenDrawn"); }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        if (mode != QIcon::Normal || state != QIcon::Off)
            return Read().availableSizes(mode, state);
        QList<QSize> sizes;
        for (int side : m_sizes)
            sizes.append(QSize(side, side));
        return sizes;
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Read().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Read().pixmap(size, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Read().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

private:
    const QIcon& Read()
    {
        if (m_read.isNull()) {
            for (int side : m_sizes)
                m_read.addFile(m_pathPattern.arg(side));
        }
        return m_read;
    }

    QString m_pathPattern;
    QList<int> m_sizes;
    QIcon m_read;
};

} // namespace

QIcon IconReadWhenDrawn(const QString& pathPattern, const QList<int>& sizes)
{
    return QIcon(new IconEngineReadWhenDrawn(pathPattern, sizes));
}

QIcon ResourceIcon(int iconId)
{
    for (const char* extension : { "png", "svg" }) {
        const QString path
            = QStringLiteral(":/images/icon%1.%2").arg(iconId).arg(QLatin1String(extension));
        if (QFile::exists(path))
            return QIcon(path);
    }
    return QIcon();
}

QImage ResourceBitmap(int bitmapId)
{
    return QImage(QStringLiteral(":/images/bitmap%1.bmp").arg(bitmapId));
}

void SetButtonIcon(QAbstractButton* button, int iconId)
{
    const QIcon icon = ResourceIcon(iconId);
    button->setIcon(icon);
    const QSize natural = icon.actualSize(kSystemIconSize);
    const int side = std::min(
        { natural.width(), button->width() - kFrameMargin, button->height() - kFrameMargin });
    button->setIconSize(QSize(side, side));
}
