#pragma once

#include <QString>
#include <QStringList>

class QUrl;

// Starts a web browser outside the program and never waits for it. Tests install a replacement
// so that nothing real is opened.
class BrowserLauncher
{
public:
    virtual ~BrowserLauncher() = default;

    // Hands url to the desktop's handler for its kind; false when nothing took it.
    virtual bool OpenWithDesktop(const QUrl& url) = 0;
    // Starts program as a process of its own in workingDirectory (empty: this program's);
    // false when it could not be started.
    virtual bool StartProgram(
        const QString& program, const QStringList& arguments, const QString& workingDirectory)
        = 0;
};

// The launcher in use; the desktop's and the system's unless a replacement is installed.
BrowserLauncher& CurrentBrowserLauncher();
// Installs a replacement (nullptr: the real one again) and returns the previous one.
BrowserLauncher* SetCurrentBrowserLauncher(BrowserLauncher* launcher);
