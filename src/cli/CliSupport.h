#pragma once

#include <QByteArray>
#include <QString>

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
