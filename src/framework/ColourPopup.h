#pragma once

#include "model/Doc.h"

#include <QFrame>

#include <array>

// The drop-down of a colour button: a grid of the classic colour wells and a "More Colors..."
// entry. It closes itself when something is chosen.
class ColourPopup : public QFrame
{
    Q_OBJECT

public:
    struct Well
    {
        Colour colour;
        const char* name;
    };
    static constexpr int WellColumns = 8;
    static const std::array<Well, 40>& StandardWells();

    explicit ColourPopup(QWidget* parent);

    // Shows the grid below the anchor, with the well of the current colour marked.
    void popUp(const QWidget* anchor, Colour current);

signals:
    void wellChosen(Colour colour);
    void moreChosen();
};
