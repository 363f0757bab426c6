#include "framework/ResourceIcon.h"

#include <QAbstractButton>
#include <QFile>

#include <algorithm>

namespace {

// Room left around an icon so that the button's frame stays visible.
constexpr int kFrameMargin = 6;

} // namespace

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
