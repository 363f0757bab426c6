#pragma once

#include <cstdint>

// A colour as the project holds it: red in the lowest byte, then green, then blue, top byte 0.
using Colour = std::uint32_t;

constexpr Colour MakeColour(int red, int green, int blue)
{
    return Colour(red & 0xFF) | (Colour(green & 0xFF) << 8) | (Colour(blue & 0xFF) << 16);
}

// The parts of a colour, each 0 to 255.
constexpr int RedOf(Colour colour)
{
    return int(colour & 0xFF);
}

constexpr int GreenOf(Colour colour)
{
    return int((colour >> 8) & 0xFF);
}

constexpr int BlueOf(Colour colour)
{
    return int((colour >> 16) & 0xFF);
}
