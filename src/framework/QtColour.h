#pragma once

#include "model/Colour.h"

#include <QColor>

// Colours cross between the project's form (red in the lowest byte) and Qt's at the widgets.
inline QColor ToQColor(Colour colour)
{
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

inline Colour ToColour(const QColor& colour)
{
    return MakeColour(colour.red(), colour.green(), colour.blue());
}
