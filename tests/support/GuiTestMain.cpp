#include "publish/PreviewServer.h"

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>
#include <unistd.h>

// GUI tests drive real widgets; settings and caches go to test locations, never the user's.
int main(int argc, char** argv)
{
    // Test discovery runs the program at build time, where no display may exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    // The browser engine refuses to start its sandbox as root, as the tests run in CI.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    // The previews' web server comes from its plugin beside the program, one folder above.
    SetPreviewServerPluginName(QStringLiteral(ZARNITH_BUILD_DIR "/zarnith_previewserver"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
