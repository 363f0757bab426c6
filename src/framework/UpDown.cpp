#include "framework/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

#include <algorithm>

namespace {

// The first repeat waits like a held key does; the rest follow quickly.
constexpr int RepeatDelayMs = 400;
constexpr int RepeatIntervalMs = 50;

} // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent)
    , m_up(makeArrowButton(Qt::UpArrow, +1))
    , m_down(makeArrowButton(Qt::DownArrow, -1))
{
    // The arrows never take the focus away from the edit they serve.
    setFocusPolicy(Qt::NoFocus);
}

QToolButton* UpDown::makeArrowButton(Qt::ArrowType arrow, int direction)
{
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(RepeatDelayMs);
    button->setAutoRepeatInterval(RepeatIntervalMs);
    connect(button, &QToolButton::clicked, this, [this, direction] { stepBy(direction); });
    return button;
}

QLineEdit* UpDown::buddy() const
{
    return m_buddy;
}

void UpDown::setBuddy(QLineEdit* edit)
{
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = edit;
    if (!m_buddy)
        return;
    m_buddy->installEventFilter(this);
    if (m_alignRight)
        snapToBuddy();
}

void UpDown::snapToBuddy()
{
    if (m_buddy->parentWidget() != parentWidget())
        return;
    QRect editRect = m_buddy->geometry();
    const int arrowsWidth = std::min(width(), editRect.width());
    editRect.setWidth(editRect.width() - arrowsWidth);
    m_buddy->setGeometry(editRect);
    setGeometry(editRect.right() + 1, editRect.top(), arrowsWidth, editRect.height());
}

void UpDown::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_position = clampToRange(m_position);
}

int UpDown::clampToRange(qint64 value) const
{
    const auto [low, high] = std::minmax(m_minimum, m_maximum);
    return int(std::clamp<qint64>(value, low, high));
}

void UpDown::stepBy(int steps)
{
    if (!m_buddy)
        return;
    QString text = m_buddy->text().trimmed();
    text.remove(m_buddy->locale().groupSeparator());
    bool isNumber = false;
    const qint64 typed = text.toLongLong(&isNumber);
    if (isNumber)
        m_position = clampToRange(typed);
    const int towardsMaximum = m_maximum < m_minimum ? -1 : 1;
    m_position = clampToRange(qint64(m_position) + qint64(steps) * towardsMaximum);
    m_buddy->setText(QString::number(m_position));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    // Only key presses reach the comparison: a buddy being destroyed still sends other events.
    if (event->type() == QEvent::KeyPress && watched == m_buddy) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
                stepBy(key->key() == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int upHeight = (height() + 1) / 2;
    m_up->setGeometry(0, 0, width(), upHeight);
    m_down->setGeometry(0, upHeight, width(), height() - upHeight);
}
