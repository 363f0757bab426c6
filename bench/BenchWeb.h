// What the benchmarks in Qt WebEngine share: running a script in a page, and the program around
// them, which serves the preview folder as the previews do.
#pragma once

#include "publish/PreviewServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>

#include <benchmark/benchmark.h>
#include <memory>
#include <optional>
#include <unistd.h>

// The value of script in page, once it has run (an invalid value after 30 s without an answer).
// The event loop runs all the while: the previews' web server answers from it.
inline QVariant Js(QWebEnginePage& page, const QString& script)
{
    const auto answer = std::make_shared<std::optional<QVariant>>();
    QEventLoop loop;
    const QPointer<QEventLoop> waiting(&loop);
    page.runJavaScript(script, [answer, waiting](const QVariant& value) {
        *answer = value;
        if (waiting)
            waiting->quit();
    });
    if (!answer->has_value()) {
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return answer->value_or(QVariant());
}

// Waits until ready() holds, or false after timeoutMs. Unlike QTest::qWaitFor, which naps between
// its checks, it keeps the event loop running, so the previews' web server answers at once, as it
// does in the program.
template<class Ready> bool WaitUntil(Ready ready, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!ready()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// The whole program: the browser engine on the offscreen platform, the previews' web server from
// its plugin beside the program, then every benchmark asked for.
inline int RunWebBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The browser engine refuses to start its sandbox as root.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    SetPreviewServerPluginName(
        QCoreApplication::applicationDirPath() + QStringLiteral("/../zarnith_previewserver"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    StopPreviewServer();
    return 0;
}
