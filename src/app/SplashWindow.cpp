#include "app/SplashWindow.h"

#include "framework/ResourceIcon.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

SplashWindow::SplashWindow(QWidget* afterClose)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_afterClose(afterClose)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program even while the picture is still up.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_picture = ResourceBitmap(303);
    setFixedSize(m_picture.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area(QPoint(), size());
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }
    qApp->installEventFilter(this);
    QTimer::singleShot(kShowMilliseconds, this, &QWidget::close);
}

SplashWindow::~SplashWindow()
{
    qApp->removeEventFilter(this);
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        close();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress: {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton)
            close();
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void SplashWindow::closeEvent(QCloseEvent* event)
{
    qApp->removeEventFilter(this);
    if (m_afterClose)
        m_afterClose->update();
    QWidget::closeEvent(event);
}
