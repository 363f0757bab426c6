#pragma once

#include "model/Colour.h"

#include <QFrame>
#include <QPointer>
#include <QString>

#include <array>
#include <vector>

class QAbstractButton;
class QPushButton;
class QToolButton;

// The drop-down of a colour button: a grid of the classic colour wells and a "More Colors..."
// entry. It closes itself when something is chosen. From the keyboard, the arrows move the focus
// through the grid and on to "More Colors...", Enter or Space picks, Escape closes.
class ColourPopup : public QFrame
{
    Q_OBJECT

public:
    struct Well
    {
        Colour colour;
        QString name;
    };
    static constexpr int WellColumns = 8;
    static const std::array<Well, 40>& StandardWells();
    // The name of the colour's well, or its red, green and blue parts when no well has it.
    static QString ColourName(Colour colour);

    explicit ColourPopup(QWidget* parent);

    // Shows the grid below the anchor, with the well of the current colour marked and focused.
    void popUp(QWidget* anchor, Colour current);

    // The wells in the order of StandardWells.
    const std::vector<QToolButton*>& wellButtons() const { return m_wells; }

signals:
    void wellChosen(Colour colour);
    void moreChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // The entries in grid order: the wells, then "More Colors..." as one more row.
    QAbstractButton* entry(int index) const;
    int indexOf(const QObject* entry) const;
    // Where an arrow key leads from the entry at index (the entry itself at an edge); -1 for
    // any other key.
    int neighbour(int index, int key) const;

    std::vector<QToolButton*> m_wells;
    QPushButton* m_more = nullptr;
    // The column last visited, so that going up from "More Colors..." returns there.
    int m_column = 0;
    QPointer<QWidget> m_anchor;
};
