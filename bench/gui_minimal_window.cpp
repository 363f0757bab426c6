// The yardstick of bench_gui_startup: the least a Qt Widgets program does to show one window.
// With ZARNITH_SCREENSHOT=<path> it saves the shown window there and ends, as zarnith does.
#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Hello"));
    window.resize(608, 403);
    window.show();
    const QString path = qEnvironmentVariable("ZARNITH_SCREENSHOT");
    if (path.isEmpty())
        return QApplication::exec();
    QTimer::singleShot(0, &window, [&window, path] {
        const bool saved = window.grab().save(path);
        std::printf("Saved a picture of the main window to %s\n", qPrintable(path));
        std::fflush(stdout);
        QCoreApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}
