#include "framework/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>

#include <cmath>

namespace {

// Windows' MulDiv: the product divided, rounded half away from zero.
int MulDiv(int number, int numerator, int denominator)
{
    return int(std::lround(double(number) * numerator / denominator));
}

int AverageCharWidth(const QFontMetrics& metrics)
{
    static const QString kAlphabet
        = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    // Windows rounds the width of the 52 letters divided by 52 this way.
    return (metrics.horizontalAdvance(kAlphabet) / 26 + 1) / 2;
}

// A character cell in whole pixels: the ascent and the descent each rounded up, as a scaled font's
// cell is sized. QFontMetrics rounds both to the nearest, which makes the templates' font a pixel
// shorter than the font their layouts were measured with and cuts every form short.
int CellHeight(const QFontMetricsF& metrics)
{
    return int(std::ceil(metrics.ascent()) + std::ceil(metrics.descent()));
}

} // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    m_baseWidth = AverageCharWidth(QFontMetrics(font));
    m_baseHeight = CellHeight(QFontMetricsF(font));
}

int DialogUnits::ToPixelsX(int units) const
{
    return MulDiv(units, m_baseWidth, 4);
}

int DialogUnits::ToPixelsY(int units) const
{
    return MulDiv(units, m_baseHeight, 8);
}

QRect DialogUnits::ToPixels(const QRect& units) const
{
    const int left = ToPixelsX(units.x());
    const int top = ToPixelsY(units.y());
    const int right = ToPixelsX(units.x() + units.width());
    const int bottom = ToPixelsY(units.y() + units.height());
    return QRect(left, top, right - left, bottom - top);
}

QSize DialogUnits::ToPixels(const QSize& units) const
{
    return QSize(ToPixelsX(units.width()), ToPixelsY(units.height()));
}

QFont TemplateFont(const QString& family, int pointSize)
{
    // The layouts were measured with the Windows dialog font, whose metrics Liberation Sans
    // matches; fontconfig alone would pick the wider DejaVu Sans and clip fixed-size labels.
    static const bool substituted = [] {
        QFont::insertSubstitution(
            QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(family, pointSize);
    const QFontMetrics metrics(font);
    // A bitmap stand-in or a substitute without real glyphs would make every control unreadable.
    constexpr int kSmallestUsableWidth = 3;
    constexpr int kSmallestUsableHeight = 8;
    if (AverageCharWidth(metrics) >= kSmallestUsableWidth
        && metrics.height() >= kSmallestUsableHeight)
        return font;
    QFont fallback = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    fallback.setPointSize(pointSize);
    return fallback;
}
