#pragma once

#include "publish/BrowserLauncher.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

// The browser launcher while it lives: starts nothing, records the pages it was asked to open and
// the CLASSPATH the browser would have inherited ("(unset)" when there was none).
class RecordingLauncher : public BrowserLauncher
{
public:
    RecordingLauncher()
        : m_previous(SetCurrentBrowserLauncher(this))
    {
    }
    ~RecordingLauncher() override { SetCurrentBrowserLauncher(m_previous); }

    bool OpenWithDesktop(const QUrl& url) override
    {
        opened.append(url);
        classPaths.append(qEnvironmentVariable("CLASSPATH", QStringLiteral("(unset)")));
        return succeed;
    }

    bool StartProgram(const QString& program, const QStringList&, const QString&) override
    {
        ADD_FAILURE() << "unexpected program: " << qPrintable(program);
        return false;
    }

    bool succeed = true;
    QList<QUrl> opened;
    QStringList classPaths;

private:
    BrowserLauncher* m_previous;
};
