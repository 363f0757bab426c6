#pragma once

#include <QIcon>
#include <QImage>

class QAbstractButton;

// Icons show at their own size, at most the system icon size, as on Windows.
constexpr QSize kSystemIconSize(32, 32);

// The image resource iconId (":/images/icon<id>.png", or .svg); a null icon when there is none.
QIcon ResourceIcon(int iconId);

// The icon of the square image files that pathPattern names, with %1 replaced by each of sizes,
// read only when a size of it is first drawn: a window icon costs nothing at start-up on
// platforms that never draw it, and the first window need not wait for it where they do.
QIcon IconReadWhenDrawn(const QString& pathPattern, const QList<int>& sizes);

// The bitmap resource bitmapId (":/images/bitmap<id>.bmp"); a null image when there is none.
QImage ResourceBitmap(int bitmapId);

// Shows image resource iconId on the button at its own size (at most kSystemIconSize), and
// smaller only when the button is too small to keep its frame visible around it.
void SetButtonIcon(QAbstractButton* button, int iconId);
