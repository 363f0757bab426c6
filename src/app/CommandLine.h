#pragma once

#include <QString>
#include <QStringList>

// What the program's command line asks for: an optional project file to open, or the usage or
// version text instead of a run. Needs no application object, so that usage and version can be
// answered where no display is available.
struct CommandLine
{
    enum class Action { Run, ShowHelp, ShowVersion, Error };

    Action action = Action::Run;
    // The project to open; empty for a new project.
    QString projectFile;
    // The usage or version text, or what was wrong followed by the usage.
    QString message;

    // Reads arguments with the program name first. Usage and version win over everything else.
    static CommandLine Parse(const QStringList& arguments);
    static QStringList FromArgv(int argc, char** argv);

    // For anything but Run: prints the message (errors to standard error) and returns the exit
    // status, 0 for usage and version, 2 for a wrong command line.
    int Answer() const;
};
