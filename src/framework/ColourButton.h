#pragma once

#include "model/Doc.h"

#include <QColor>
#include <QPushButton>

#include <functional>
#include <optional>

class ColourPopup;

inline QColor ColourToQColor(Colour colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

inline Colour ColourFromQColor(const QColor& colour)
{
    return MakeColour(colour.red(), colour.green(), colour.blue());
}

// A push button showing a colour swatch; a click offers the standard colour wells and a
// "More Colors..." entry. Reports each choice with the button's control id.
class ColourButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ColourButton(QWidget* parent = nullptr);

    // Sets the shown colour without notifying anyone.
    void setColour(Colour colour);
    Colour colour() const { return m_colour; }

    // The control id: the object name read as an integer (0 when it is not one).
    int controlId() const;

    // Opens the colour wells under the button, as a click does.
    void showPopup();

    // Asks for a colour beyond the wells; an empty result means the user cancelled. Replaceable so
    // that the prompt service and tests can answer it.
    static std::function<std::optional<Colour>(QWidget* parent, Colour initial)> moreColoursChooser;

signals:
    // Sent whenever the user picks a colour, also when it equals the current one.
    void colourChanged(int controlId, Colour colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void choose(Colour colour);
    void chooseMore();

    Colour m_colour = 0;
    ColourPopup* m_popup = nullptr;
};
