#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Converts dialog units to pixels for one font the way Windows does: a horizontal unit is a
// quarter of the font's average character width (measured over the alphabet), a vertical unit an
// eighth of its character cell's height (ascent and descent each rounded up to whole pixels).
class DialogUnits
{
public:
    explicit DialogUnits(const QFont& font);

    int BaseWidth() const { return m_baseWidth; }
    int BaseHeight() const { return m_baseHeight; }

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    // Each edge is mapped on its own, so adjacent rectangles stay adjacent.
    QRect ToPixels(const QRect& units) const;
    QSize ToPixels(const QSize& units) const;

private:
    int m_baseWidth;
    int m_baseHeight;
};

// The font a template asks for. When the system maps the requested family to something unusable
// (too small to read), the application's sans font at the same point size is used instead.
QFont TemplateFont(const QString& family, int pointSize);
