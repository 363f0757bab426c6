#include "app/SplashWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Lets events run, deferred deletes included, until the splash has gone or time is up.
bool GoneWithin(const QPointer<SplashWindow>& splash, int milliseconds)
{
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(milliseconds);
    while (splash && deadline.isActive()) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        loop.processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return splash.isNull();
}

TEST(SplashWindowTest, IsThePictureCentredOnTheScreen)
{
    SplashWindow splash;
    EXPECT_EQ(splash.size(), QSize(544, 340));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((splash.geometry().center() - screen.center()).manhattanLength(), 1);
}

TEST(SplashWindowTest, GoesAtOnceOnAKeyOrButtonAnywhereAndOtherwiseAfterTwoSeconds)
{
    QLineEdit elsewhere;
    elsewhere.show();

    QPointer<SplashWindow> byKey = new SplashWindow;
    byKey->show();
    QTest::keyClick(&elsewhere, Qt::Key_A);
    EXPECT_TRUE(GoneWithin(byKey, 100));
    EXPECT_EQ(elsewhere.text(), QStringLiteral("a")) << "the key still reaches its target";

    QPointer<SplashWindow> byButton = new SplashWindow;
    byButton->show();
    QTest::mouseClick(&elsewhere, Qt::RightButton);
    EXPECT_TRUE(GoneWithin(byButton, 100));

    QPointer<SplashWindow> byTimer = new SplashWindow;
    byTimer->show();
    EXPECT_FALSE(GoneWithin(byTimer, SplashWindow::kShowMilliseconds - 500));
    EXPECT_TRUE(GoneWithin(byTimer, 1500));
}

} // namespace
