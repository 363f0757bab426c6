#pragma once

#include <QObject>
#include <QPoint>

#include <memory>

class QLabel;
class QMouseEvent;
class QTableView;

// Where a row dragged from source ends in a list of count rows when it is dropped before row
// target (-1: below the last row). Dropping a row on itself or on the row just below it leaves
// it where it was.
int DroppedRowIndex(int source, int target, int count);

// Lets the user reorder a list's rows by dragging one with either mouse button. While the drag
// runs, a picture of the row follows the pointer and the row under the pointer is highlighted as
// the target; the drag ends at the next left-button release. A release over the list reports
// the source row and the last highlighted target; a release elsewhere cancels. The list's owner
// draws the highlight, as targetChanged tells it.
class ListRowDrag : public QObject
{
    Q_OBJECT

public:
    explicit ListRowDrag(QTableView* list);
    ~ListRowDrag() override;

    bool IsDragging() const { return m_dragging; }
    // The highlighted target row; -1 when none.
    int TargetRow() const { return m_target; }

signals:
    // target is -1 when the row was dropped below the last row.
    void rowDropped(int source, int target);
    // The row to highlight as the target; -1 for none.
    void targetChanged(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool MousePressed(QMouseEvent* event);
    bool MouseMoved(QMouseEvent* event);
    bool MouseReleased(QMouseEvent* event);
    void BeginDrag(const QPoint& globalPosition);
    void FollowPointer(const QPoint& globalPosition);
    void EndDrag(const QPoint& globalPosition);
    // True when a point on the screen lies over the list's rows (not its header or outside).
    bool IsOverList(const QPoint& globalPosition) const;
    void SetTarget(int row);

    QTableView* m_list;
    std::unique_ptr<QLabel> m_image;
    bool m_dragging = false;
    // The button that went down on a row and may start a drag; Qt::NoButton otherwise.
    Qt::MouseButton m_pressButton = Qt::NoButton;
    QPoint m_pressPosition;
    int m_source = -1;
    int m_target = -1;
};
