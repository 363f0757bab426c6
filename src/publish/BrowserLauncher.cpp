#include "publish/BrowserLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace {

class SystemLauncher : public BrowserLauncher
{
public:
    bool OpenWithDesktop(const QUrl& url) override { return QDesktopServices::openUrl(url); }

    bool StartProgram(const QString& program, const QStringList& arguments,
        const QString& workingDirectory) override
    {
        return QProcess::startDetached(program, arguments, workingDirectory);
    }
};

BrowserLauncher* g_current = nullptr;

} // namespace

BrowserLauncher& CurrentBrowserLauncher()
{
    static SystemLauncher system;
    return g_current ? *g_current : system;
}

BrowserLauncher* SetCurrentBrowserLauncher(BrowserLauncher* launcher)
{
    BrowserLauncher* previous = g_current;
    g_current = launcher;
    return previous;
}
