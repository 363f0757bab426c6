#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

// The start-up picture: a frameless top-most window the size of bitmap 303, centred on the
// screen. It closes itself after two seconds, or at once on any key or mouse-button press
// anywhere in the program (which then goes on to its target as usual), and deletes itself.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kShowMilliseconds = 2000;

    // afterClose, when given, is updated once the picture has gone.
    explicit SplashWindow(QWidget* afterClose = nullptr);
    ~SplashWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QImage m_picture;
    QPointer<QWidget> m_afterClose;
};
