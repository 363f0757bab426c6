#include "framework/ColourButton.h"

#include "framework/ColourPopup.h"
#include "framework/Prompts.h"
#include "framework/QtColour.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

ColourButton::ColourButton(QWidget* parent)
    : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &ColourButton::showPopup);
    setColour(m_colour);
}

void ColourButton::setColour(Colour colour)
{
    m_colour = colour;
    setAccessibleDescription(ColourPopup::ColourName(colour));
    update();
}

void ColourButton::showPopup()
{
    if (!m_popup) {
        m_popup = new ColourPopup(this);
        connect(m_popup, &ColourPopup::wellChosen, this, &ColourButton::choose);
        connect(m_popup, &ColourPopup::moreChosen, this, &ColourButton::chooseMore);
    }
    m_popup->popUp(this, m_colour);
}

void ColourButton::choose(Colour colour)
{
    setColour(colour);
    emit colourChanged(colour);
}

void ColourButton::chooseMore()
{
    if (const std::optional<Colour> chosen = CurrentPrompts().ChooseColour(this, m_colour))
        choose(*chosen);
}

void ColourButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int arrowWidth = std::min(contents.width() / 3, 2 * contents.height() / 3);
    QStyleOption arrow = option;
    arrow.rect
        = QRect(contents.right() - arrowWidth + 1, contents.top(), arrowWidth, contents.height());
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);

    const QRect swatch = contents.adjusted(1, 1, -arrowWidth - 2, -1);
    QColor fill = ToQColor(m_colour);
    QColor edge = palette().color(QPalette::Active, QPalette::WindowText);
    if (!isEnabled()) {
        // Greyed like any disabled control: the colour's brightness, washed towards the face.
        const QColor face = palette().color(QPalette::Disabled, QPalette::Button);
        const int grey = (qGray(fill.rgb()) + face.lightness()) / 2;
        fill = QColor(grey, grey, grey);
        edge = palette().color(QPalette::Disabled, QPalette::WindowText);
    }
    painter.fillRect(swatch, fill);
    painter.setPen(edge);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = contents;
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
