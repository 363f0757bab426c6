// The yardstick of bench_gui_startup: the least a Qt Widgets program does to show one window,
// WIDTH by HEIGHT when given, so that its picture is as large as the measured program's. With
// ZARNITH_SCREENSHOT=<path> it saves the window there once it has first drawn itself, and ends,
// as zarnith does.
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

class SaveAfterFirstExposure : public QObject
{
public:
    SaveAfterFirstExposure(QWidget* window, QString path)
        : m_window(window)
        , m_path(std::move(path))
    {
        window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && m_window->windowHandle()->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { Save(); });
        }
        return false;
    }

private:
    void Save()
    {
        QPixmap picture = m_window->screen()->grabWindow(m_window->winId());
        if (picture.isNull())
            picture = m_window->grab();
        const bool saved = picture.save(m_path);
        std::printf("Saved a picture of the main window to %s\n", qPrintable(m_path));
        std::fflush(stdout);
        QCoreApplication::exit(saved ? 0 : 1);
    }

    QWidget* m_window;
    QString m_path;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Hello"));
    const QStringList size = QCoreApplication::arguments().mid(1);
    window.resize(
        size.value(0, QStringLiteral("608")).toInt(), size.value(1, QStringLiteral("403")).toInt());
    window.show();
    const QString path = qEnvironmentVariable("ZARNITH_SCREENSHOT");
    if (path.isEmpty())
        return QApplication::exec();
    SaveAfterFirstExposure saver(&window, path);
    return QApplication::exec();
}
