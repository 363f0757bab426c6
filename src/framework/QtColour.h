#pragma once

#include "model/Colour.h"

#include <QColor>

// Colours cross between the project's form (red in the lowest byte) and Qt's at the widgets.
inline QColor ToQColor(Colour colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

inline Colour ToColour(const QColor& colour)
{
    return MakeColour(colour.red(), colour.green(), colour.blue());
}
