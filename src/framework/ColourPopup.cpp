#include "framework/ColourPopup.h"

#include "framework/ColourButton.h"
#include "framework/QtColour.h"
#include "framework/ResourceString.h"
#include "util/StringIds.h"

#include <qdrawutil.h>
#include <QEnterEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int WellSize = 18;
constexpr int SwatchSize = 12;
constexpr int FocusWidth = 2;

// One colour well: its swatch, sunken while it is the colour in use, ringed in the highlight
// colour while it has the focus. The focus follows the mouse, as in a menu, so that mouse and
// keyboard never point at two different wells.
class ColourWell : public QToolButton
{
public:
    ColourWell(Colour colour, QWidget* parent)
        : QToolButton(parent)
        , m_colour(colour)
    {
        setCheckable(true);
        setFixedSize(WellSize, WellSize);
    }

protected:
    void enterEvent(QEnterEvent*) override { setFocus(Qt::MouseFocusReason); }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(
            rect(), palette().color(hasFocus() ? QPalette::Highlight : QPalette::Window));
        const QRect face = rect().adjusted(FocusWidth, FocusWidth, -FocusWidth, -FocusWidth);
        painter.fillRect(face, palette().color(QPalette::Window));
        if (isChecked() || isDown())
            qDrawShadePanel(&painter, face, palette(), true);
        QRect swatch(0, 0, SwatchSize, SwatchSize);
        swatch.moveCenter(face.center());
        painter.fillRect(swatch, ToQColor(m_colour));
        painter.setPen(Qt::darkGray);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    }

private:
    Colour m_colour;
};

} // namespace

const std::array<ColourPopup::Well, 40>& ColourPopup::StandardWells()
{
    // The wells' names are one entry of the string table, in the order of the colours.
    static const Colour colours[] = {
        MakeColour(0x00, 0x00, 0x00),
        MakeColour(0x99, 0x33, 0x00),
        MakeColour(0x33, 0x33, 0x00),
        MakeColour(0x00, 0x33, 0x00),
        MakeColour(0x00, 0x33, 0x66),
        MakeColour(0x00, 0x00, 0x80),
        MakeColour(0x33, 0x33, 0x99),
        MakeColour(0x33, 0x33, 0x33),
        MakeColour(0x80, 0x00, 0x00),
        MakeColour(0xFF, 0x66, 0x00),
        MakeColour(0x80, 0x80, 0x00),
        MakeColour(0x00, 0x80, 0x00),
        MakeColour(0x00, 0x80, 0x80),
        MakeColour(0x00, 0x00, 0xFF),
        MakeColour(0x66, 0x66, 0x99),
        MakeColour(0x80, 0x80, 0x80),
        MakeColour(0xFF, 0x00, 0x00),
        MakeColour(0xFF, 0x99, 0x00),
        MakeColour(0x99, 0xCC, 0x00),
        MakeColour(0x33, 0x99, 0x66),
        MakeColour(0x33, 0xCC, 0xCC),
        MakeColour(0x33, 0x66, 0xFF),
        MakeColour(0x80, 0x00, 0x80),
        MakeColour(0x96, 0x96, 0x96),
        MakeColour(0xFF, 0x00, 0xFF),
        MakeColour(0xFF, 0xCC, 0x00),
        MakeColour(0xFF, 0xFF, 0x00),
        MakeColour(0x00, 0xFF, 0x00),
        MakeColour(0x00, 0xFF, 0xFF),
        MakeColour(0x00, 0xCC, 0xFF),
        MakeColour(0x99, 0x33, 0x66),
        MakeColour(0xC0, 0xC0, 0xC0),
        MakeColour(0xFF, 0x99, 0xCC),
        MakeColour(0xFF, 0xCC, 0x99),
        MakeColour(0xFF, 0xFF, 0x99),
        MakeColour(0xCC, 0xFF, 0xCC),
        MakeColour(0xCC, 0xFF, 0xFF),
        MakeColour(0x99, 0xCC, 0xFF),
        MakeColour(0xCC, 0x99, 0xFF),
        MakeColour(0xFF, 0xFF, 0xFF),
    };
    static const std::array<Well, 40> wells = [] {
        const QStringList names = ResourceStringLines(IDS_COLOUR_NAMES);
        std::array<Well, 40> made;
        for (std::size_t i = 0; i < made.size(); ++i)
            made[i] = { colours[i], names.value(int(i)) };
        return made;
    }();
    return wells;
}

QString ColourPopup::ColourName(Colour colour)
{
    for (const Well& well : StandardWells()) {
        if (well.colour == colour)
            return well.name;
    }
    const QColor shown = ToQColor(colour);
    return ResourceString(IDS_COLOUR_VALUES).arg(shown.red()).arg(shown.green()).arg(shown.blue());
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
        auto* well = new ColourWell(wells[i].colour, this);
        well->setToolTip(wells[i].name);
        well->setAccessibleName(well->toolTip());
        well->installEventFilter(this);
        connect(well, &QToolButton::clicked, this, [this, colour = wells[i].colour] {
            close();
            emit wellChosen(colour);
        });
        grid->addWidget(well, i / WellColumns, i % WellColumns);
        m_wells.push_back(well);
    }
    m_more = new QPushButton(ResourceString(IDS_MORE_COLOURS), this);
    m_more->setFlat(true);
    m_more->installEventFilter(this);
    connect(m_more, &QPushButton::clicked, this, [this] {
        close();
        emit moreChosen();
    });
    grid->addWidget(m_more, grid->rowCount(), 0, 1, WellColumns);
}

void ColourPopup::popUp(QWidget* anchor, Colour current)
{
    m_anchor = anchor;
    const auto& wells = StandardWells();
    QToolButton* focused = m_wells.front();
    for (int i = 0; i < int(wells.size()); ++i) {
        m_wells[i]->setChecked(wells[i].colour == current);
        if (wells[i].colour == current)
            focused = m_wells[i];
    }

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
    focused->setFocus(Qt::PopupFocusReason);
}

QAbstractButton* ColourPopup::entry(int index) const
{
    return index < int(m_wells.size()) ? static_cast<QAbstractButton*>(m_wells[index]) : m_more;
}

int ColourPopup::indexOf(const QObject* entry) const
{
    if (entry == m_more)
        return int(m_wells.size());
    const auto well = std::find(m_wells.begin(), m_wells.end(), entry);
    return well != m_wells.end() ? int(well - m_wells.begin()) : -1;
}

int ColourPopup::neighbour(int index, int key) const
{
    const int more = int(m_wells.size());
    switch (key) {
    case Qt::Key_Left:
        return std::max(index - 1, 0);
    case Qt::Key_Right:
        return std::min(index + 1, more);
    case Qt::Key_Up:
        if (index == more)
            return more - WellColumns + m_column;
        return index >= WellColumns ? index - WellColumns : index;
    case Qt::Key_Down:
        return std::min(index + WellColumns, more);
    default:
        return -1;
    }
}

bool ColourPopup::eventFilter(QObject* watched, QEvent* event)
{
    const int index = indexOf(watched);
    if (index < 0)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn && index < int(m_wells.size()))
        m_column = index % WellColumns;
    if (event->type() != QEvent::KeyPress)
        return false;
    // Space is the buttons' own; Escape reaches the pop-up, which closes.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        entry(index)->click();
        return true;
    }
    const int next = neighbour(index, key);
    if (next < 0)
        return false;
    // Marks the focus as the keyboard's, so that the style draws it on "More Colors..." too.
    setAttribute(Qt::WA_KeyboardFocusChange);
    entry(next)->setFocus(Qt::TabFocusReason);
    return true;
}

void ColourPopup::mousePressEvent(QMouseEvent* event)
{
    // A press on the button that opened us only closes the pop-up; replaying it would reopen it.
    if (m_anchor && !rect().contains(event->position().toPoint())
        && m_anchor->rect().contains(m_anchor->mapFromGlobal(event->globalPosition().toPoint())))
        setAttribute(Qt::WA_NoMouseReplay);
    QFrame::mousePressEvent(event);
}
