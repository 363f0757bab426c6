#pragma once

#include <QString>
#include <QStringList>

// What the program's command line asks for: an optional project file to open, or the usage or
// version text instead of a run.
struct CommandLine
{
    enum class Action { Run, ShowHelp, ShowVersion, Error };

    Action action = Action::Run;
    // The project to open; empty for a new project.
    QString projectFile;
    // The usage or version text, or what was wrong.
    QString message;

    // Reads arguments as QCoreApplication::arguments() gives them (program name first).
    static CommandLine Parse(const QStringList& arguments);
};
