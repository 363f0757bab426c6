#pragma once

#include <QIcon>
#include <QImage>

class QAbstractButton;

// Icons show at their own size, at most the system icon size, as on Windows.
constexpr QSize kSystemIconSize(32, 32);

// The image resource iconId (":/images/icon<id>.png", or .svg); a null icon when there is none.
QIcon ResourceIcon(int iconId);

// The bitmap resource bitmapId (":/images/bitmap<id>.bmp"); a null image when there is none.
QImage ResourceBitmap(int bitmapId);

// Shows image resource iconId on the button at its own size (at most kSystemIconSize), and
// smaller only when the button is too small to keep its frame visible around it.
void SetButtonIcon(QAbstractButton* button, int iconId);
