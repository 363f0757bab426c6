// What the benchmarks in Qt WebEngine share: running a script in a page, and the program around
// them, which serves the preview folder as the previews do.
#pragma once

#include "publish/PreviewServer.h"

#include <QApplication>
#include <QTest>
#include <QWebEnginePage>

#include <benchmark/benchmark.h>
#include <unistd.h>

// The value of script in page, once it has run.
inline QVariant Js(QWebEnginePage& page, const QString& script)
{
    QVariant result;
    bool done = false;
    page.runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    QTest::qWaitFor([&] { return done; }, 30000);
    return result;
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
