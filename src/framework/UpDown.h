#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of stacked arrow buttons that step the integer in a buddy edit within a range. The edit
// keeps accepting any text, so the page's own validation decides what is acceptable.
class UpDown : public QWidget
{
    Q_OBJECT

public:
    explicit UpDown(QWidget* parent = nullptr);

    // Attaches the edit; Up and Down in it step as the buttons do. With right alignment (the
    // default) this control moves to the edit's right edge, takes the edit's height, keeps its own
    // width, and the edit narrows by that width, so call it once both have their geometry.
    void setBuddy(QLineEdit* edit);
    QLineEdit* buddy() const;

    void setAlignRight(bool alignRight) { m_alignRight = alignRight; }

    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    // Steps towards the maximum (positive) or the minimum (negative) and writes the buddy's text.
    void stepBy(int steps);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* makeArrowButton(Qt::ArrowType arrow, int direction);
    void snapToBuddy();
    int clampToRange(qint64 value) const;

    QToolButton* m_up;
    QToolButton* m_down;
    QPointer<QLineEdit> m_buddy;
    bool m_alignRight = true;
    int m_minimum = 0;
    int m_maximum = 100;
    // The last value read from or written to the buddy; stepping starts here when the buddy's
    // text is not a number.
    int m_position = 0;
};
