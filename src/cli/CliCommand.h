#pragma once

#include <QStringList>

#include <vector>

// One subcommand of zarnith-cli. run gets the arguments after the subcommand's name and returns
// the exit status: 0 success, 1 bad input (one line on standard error), 2 wrong usage.
struct CliCommand
{
    const char* name;
    const char* usage;
    int (*run)(const QStringList& arguments);
    // Arguments that are texts, not file names, may be empty.
    bool takesTexts = false;
};

// Commands on the project file and the cipher: new, dump, build, scramble, unscramble.
std::vector<CliCommand> ProjectCommands();

// Commands that generate outputs: html, params, lockfile, resources, publish, au2wav.
std::vector<CliCommand> OutputCommands();

// The lock list: the modern box's encrypted lock data (locks), and the list as CSV
// (locks-export, locks-import).
std::vector<CliCommand> LockCommands();
