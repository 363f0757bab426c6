#pragma once

#include "model/Doc.h"

#include <QFrame>
#include <QPointer>

#include <array>
#include <vector>

class QToolButton;

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
    void popUp(QWidget* anchor, Colour current);

    // The wells in the order of StandardWells.
    const std::vector<QToolButton*>& wellButtons() const { return m_wells; }

signals:
    void wellChosen(Colour colour);
    void moreChosen();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<QToolButton*> m_wells;
    QPointer<QWidget> m_anchor;
};
