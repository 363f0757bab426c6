#pragma once

#include "generate/LockData.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

class Doc;
struct CliCommand;

// Exit statuses of zarnith-cli.
enum CliStatus : int { CliSuccess = 0, CliFailure = 1, CliUsage = 2 };

// Loads the project at path into doc; on failure prints the program's own message (for example
// "Unexpected file format.") as one line on standard error and returns false.
bool LoadProjectOrReport(const QString& path, Doc& doc);

// Saves doc to path; on failure prints the program's message as one line and returns false.
bool SaveProjectOrReport(Doc& doc, const QString& path);

// Writes bytes to standard output exactly as given; false when they could not all be written.
bool WriteStdout(const QByteArray& bytes);

// Prints message as one line on standard error and returns CliFailure.
int ReportFailure(const QByteArray& message);

// Prints the command's usage line on standard error and returns CliUsage.
int ReportUsage(const CliCommand& command);

// A command-line argument as the 8-bit text the program holds.
QByteArray ArgumentBytes(const QString& argument);

// Positional arguments and the values of the options a command accepts; every option takes a
// value.
struct CommandLine
{
    QStringList positional;
    QHash<QString, QString> options;
};

// Splits arguments into line; false for an unknown option, one without its value or one given
// twice.
bool ParseCommandLine(
    const QStringList& arguments, const QStringList& optionNames, CommandLine& line);

// The --iterations option of line checked for use, the default when it is absent; on a value
// that is not allowed prints the program's integer message as one line and returns nothing.
std::optional<LockIterations> IterationsOrReport(const CommandLine& line, LockDataUse use);
