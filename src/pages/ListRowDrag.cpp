#include "pages/ListRowDrag.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTableView>

int DroppedRowIndex(int source, int target, int count)
{
    if (target < 0 || target > count)
        target = count;
    // The row leaves its old place first, so every place after it moves up by one.
    return source < target ? target - 1 : target;
}

ListRowDrag::ListRowDrag(QTableView* list)
    : QObject(list)
    , m_list(list)
{
    m_list->viewport()->installEventFilter(this);
}

ListRowDrag::~ListRowDrag()
{
    if (m_dragging)
        m_list->viewport()->releaseMouse();
}

bool ListRowDrag::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_list->viewport())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return MousePressed(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return MouseMoved(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return MouseReleased(static_cast<QMouseEvent*>(event));
    default:
        return false;
    }
}

bool ListRowDrag::MousePressed(QMouseEvent* event)
{
    // While a drag runs, the mouse belongs to it until the left button is released.
    if (m_dragging)
        return true;
    m_pressButton = Qt::NoButton;
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return false;
    const int row = m_list->indexAt(event->position().toPoint()).row();
    if (row >= 0) {
        m_pressButton = event->button();
        m_pressPosition = event->position().toPoint();
        m_source = row;
    }
    return false;
}

bool ListRowDrag::MouseMoved(QMouseEvent* event)
{
    const QPoint globalPosition = event->globalPosition().toPoint();
    if (m_dragging) {
        FollowPointer(globalPosition);
        return true;
    }
    if (m_pressButton == Qt::NoButton || !(event->buttons() & m_pressButton))
        return false;
    if ((event->position().toPoint() - m_pressPosition).manhattanLength()
        < QApplication::startDragDistance())
        return false;
    BeginDrag(globalPosition);
    FollowPointer(globalPosition);
    return true;
}

bool ListRowDrag::MouseReleased(QMouseEvent* event)
{
    if (!m_dragging) {
        if (event->button() == m_pressButton)
            m_pressButton = Qt::NoButton;
        return false;
    }
    if (event->button() == Qt::LeftButton)
        EndDrag(event->globalPosition().toPoint());
    return true;
}

void ListRowDrag::BeginDrag(const QPoint& globalPosition)
{
    QWidget* viewport = m_list->viewport();
    // The picture is a window of its own so that it can follow the pointer out of the list.
    m_image = std::make_unique<QLabel>(
        nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
    const QAbstractItemModel* model = m_list->model();
    const QRect row
        = m_list->visualRect(model->index(m_source, 0))
              .united(m_list->visualRect(model->index(m_source, model->columnCount() - 1)));
    m_image->setPixmap(viewport->grab(QRect(0, row.top(), viewport->width(), row.height())));
    m_image->setWindowOpacity(0.7);
    m_image->adjustSize();
    m_image->move(globalPosition);
    m_image->show();
    m_dragging = true;
    m_target = -1;
    viewport->grabMouse();
}

void ListRowDrag::FollowPointer(const QPoint& globalPosition)
{
    m_image->move(globalPosition);
    // Outside the list the last highlighted row stays the target.
    if (!IsOverList(globalPosition))
        return;
    SetTarget(m_list->indexAt(m_list->viewport()->mapFromGlobal(globalPosition)).row());
}

void ListRowDrag::EndDrag(const QPoint& globalPosition)
{
    m_list->viewport()->releaseMouse();
    m_dragging = false;
    m_pressButton = Qt::NoButton;
    m_image->hide();
    const int target = m_target;
    // A cancelled drag must not leave a row looking like a drop target.
    SetTarget(-1);
    if (IsOverList(globalPosition))
        emit rowDropped(m_source, target);
}

bool ListRowDrag::IsOverList(const QPoint& globalPosition) const
{
    const QWidget* viewport = m_list->viewport();
    return viewport->isVisible()
        && viewport->rect().contains(viewport->mapFromGlobal(globalPosition));
}

void ListRowDrag::SetTarget(int row)
{
    if (row == m_target)
        return;
    m_target = row;
    emit targetChanged(row);
}
