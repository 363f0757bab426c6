#include "framework/ColourPopup.h"

#include "framework/ColourButton.h"
#include "framework/QtColour.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int WellSize = 18;
constexpr int SwatchSize = 12;

QIcon SwatchIcon(Colour colour)
{
    QPixmap pixmap(SwatchSize, SwatchSize);
    pixmap.fill(ToQColor(colour));
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

} // namespace

const std::array<ColourPopup::Well, 40>& ColourPopup::StandardWells()
{
    static const std::array<Well, 40> wells { {
        { MakeColour(0x00, 0x00, 0x00), "Black" },
        { MakeColour(0x99, 0x33, 0x00), "Brown" },
        { MakeColour(0x33, 0x33, 0x00), "Olive Green" },
        { MakeColour(0x00, 0x33, 0x00), "Dark Green" },
        { MakeColour(0x00, 0x33, 0x66), "Dark Teal" },
        { MakeColour(0x00, 0x00, 0x80), "Dark Blue" },
        { MakeColour(0x33, 0x33, 0x99), "Indigo" },
        { MakeColour(0x33, 0x33, 0x33), "Gray-80%" },
        { MakeColour(0x80, 0x00, 0x00), "Dark Red" },
        { MakeColour(0xFF, 0x66, 0x00), "Orange" },
        { MakeColour(0x80, 0x80, 0x00), "Dark Yellow" },
        { MakeColour(0x00, 0x80, 0x00), "Green" },
        { MakeColour(0x00, 0x80, 0x80), "Teal" },
        { MakeColour(0x00, 0x00, 0xFF), "Blue" },
        { MakeColour(0x66, 0x66, 0x99), "Blue-Gray" },
        { MakeColour(0x80, 0x80, 0x80), "Gray-50%" },
        { MakeColour(0xFF, 0x00, 0x00), "Red" },
        { MakeColour(0xFF, 0x99, 0x00), "Light Orange" },
        { MakeColour(0x99, 0xCC, 0x00), "Lime" },
        { MakeColour(0x33, 0x99, 0x66), "Sea Green" },
        { MakeColour(0x33, 0xCC, 0xCC), "Aqua" },
        { MakeColour(0x33, 0x66, 0xFF), "Light Blue" },
        { MakeColour(0x80, 0x00, 0x80), "Violet" },
        { MakeColour(0x96, 0x96, 0x96), "Gray-40%" },
        { MakeColour(0xFF, 0x00, 0xFF), "Pink" },
        { MakeColour(0xFF, 0xCC, 0x00), "Gold" },
        { MakeColour(0xFF, 0xFF, 0x00), "Yellow" },
        { MakeColour(0x00, 0xFF, 0x00), "Bright Green" },
        { MakeColour(0x00, 0xFF, 0xFF), "Turquoise" },
        { MakeColour(0x00, 0xCC, 0xFF), "Sky Blue" },
        { MakeColour(0x99, 0x33, 0x66), "Plum" },
        { MakeColour(0xC0, 0xC0, 0xC0), "Gray-25%" },
        { MakeColour(0xFF, 0x99, 0xCC), "Rose" },
        { MakeColour(0xFF, 0xCC, 0x99), "Tan" },
        { MakeColour(0xFF, 0xFF, 0x99), "Light Yellow" },
        { MakeColour(0xCC, 0xFF, 0xCC), "Light Green" },
        { MakeColour(0xCC, 0xFF, 0xFF), "Light Turquoise" },
        { MakeColour(0x99, 0xCC, 0xFF), "Pale Blue" },
        { MakeColour(0xCC, 0x99, 0xFF), "Lavender" },
        { MakeColour(0xFF, 0xFF, 0xFF), "White" },
    } };
    return wells;
}

ColourPopup::ColourPopup(QWidget* parent)
    : QFrame(parent, Qt::Popup)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(1);
    const auto& wells = StandardWells();
    for (int i = 0; i < int(wells.size()); ++i) {
        auto* well = new QToolButton(this);
        well->setIcon(SwatchIcon(wells[i].colour));
        well->setToolTip(QString::fromLatin1(wells[i].name));
        well->setAccessibleName(well->toolTip());
        well->setAutoRaise(true);
        well->setCheckable(true);
        well->setFixedSize(WellSize, WellSize);
        connect(well, &QToolButton::clicked, this, [this, colour = wells[i].colour] {
            close();
            emit wellChosen(colour);
        });
        grid->addWidget(well, i / WellColumns, i % WellColumns);
        m_wells.push_back(well);
    }
    auto* more = new QPushButton(tr("More Colors..."), this);
    more->setFlat(true);
    connect(more, &QPushButton::clicked, this, [this] {
        close();
        emit moreChosen();
    });
    grid->addWidget(more, grid->rowCount(), 0, 1, WellColumns);
}

void ColourPopup::popUp(QWidget* anchor, Colour current)
{
    m_anchor = anchor;
    const auto& wells = StandardWells();
    for (int i = 0; i < int(wells.size()); ++i)
        m_wells[i]->setChecked(wells[i].colour == current);

    adjustSize();
    QPoint position = anchor->mapToGlobal(QPoint(0, anchor->height()));
    if (const QScreen* screen = anchor->screen()) {
        const QRect available = screen->availableGeometry();
        if (position.y() + height() > available.bottom())
            position.setY(anchor->mapToGlobal(QPoint()).y() - height());
        position.setX(std::clamp(position.x(), available.left(),
            std::max(available.left(), available.right() - width())));
    }
    move(position);
    show();
}

void ColourPopup::mousePressEvent(QMouseEvent* event)
{
    // A press on the button that opened us only closes the pop-up; replaying it would reopen it.
    if (m_anchor && !rect().contains(event->position().toPoint())
        && m_anchor->rect().contains(m_anchor->mapFromGlobal(event->globalPosition().toPoint())))
        setAttribute(Qt::WA_NoMouseReplay);
    QFrame::mousePressEvent(event);
}
