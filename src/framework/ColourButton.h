#pragma once

#include "model/Colour.h"

#include <QPushButton>

class ColourPopup;

// A push button showing a colour swatch; a click offers the standard colour wells and a
// "More Colors..." entry, which asks the prompt service's colour chooser. Screen readers hear the
// colour's name as the button's description.
class ColourButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ColourButton(QWidget* parent = nullptr);

    // Sets the shown colour without notifying the program.
    void setColour(Colour colour);
    Colour colour() const { return m_colour; }

    // Opens the colour wells under the button, as a click does.
    void showPopup();

signals:
    // Sent whenever the user picks a colour, also when it equals the current one.
    void colourChanged(Colour colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void choose(Colour colour);
    void chooseMore();

    Colour m_colour = 0;
    ColourPopup* m_popup = nullptr;
};
