#pragma once

#include "generate/LockData.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class Doc;
class QFile;
struct CliCommand;

// Exit statuses of zarnith-cli.
enum CliStatus : int { CliSuccess = 0, CliFailure = 1, CliUsage = 2 };

// True for "-" (standard input) and for a pipe, which are read to their end instead of opened as
// files.
bool IsStream(const QString& path);

// Opens path for reading: a file, or standard input for "-", or a pipe.
bool OpenInput(QFile& input, const QString& path);

// Loads the project at path (a regular file, or a stream as above) into doc; on failure prints the
// program's own message (for example "Unexpected file format.") as one line on standard error and
// returns false.
bool LoadProjectOrReport(const QString& path, Doc& doc);

// As LoadProjectOrReport, then refuses, naming it, a lock the login box could not read back.
bool LoadReadableProjectOrReport(const QString& path, Doc& doc);

// False, after printing the program's message as one line, when the modern box would refuse a
// lock URL, the fail URL, the lock file name or a sound name of doc.
bool ModernBoxAcceptsOrReport(const Doc& doc);

// One line on standard error counting the locks of doc with a short password, when there are
// any: the modern box's lock data lets them be guessed first.
void NoteShortPasswords(const Doc& doc);

// Saves doc to path; on failure prints the program's message as one line and returns false.
bool SaveProjectOrReport(Doc& doc, const QString& path);

// Writes bytes to standard output exactly as given; false when they could not all be written.
bool WriteStdout(const QByteArray& bytes);

// Prints message as one line on standard error; the command goes on.
void ReportNote(const QByteArray& message);

// Prints message as one line on standard error and returns CliFailure.
int ReportFailure(const QByteArray& message);

// Prints the command's usage line on standard error and returns CliUsage.
int ReportUsage(const CliCommand& command);

// Keeps the bytes of the arguments after the command's name exactly as given, before any
// decoding; main records them.
void RecordCommandArguments(int argc, char** argv);

// The command's argument at index as given, or empty.
QByteArray CommandArgumentBytes(qsizetype index);

// Positional arguments, the values of the options a command accepts and the flags (options
// without a value) that were given.
struct CommandLine
{
    QStringList positional;
    QHash<QString, QString> options;
    QSet<QString> flags;
};

// Splits arguments into line; false for an unknown option, one without its value or one given
// twice.
bool ParseCommandLine(const QStringList& arguments, const QStringList& optionNames,
    CommandLine& line, const QStringList& flagNames = {});

// Writes bytes to standard output, or to the file named by the -o option of line; the exit
// status, with the failure reported.
int EmitOutput(const QByteArray& bytes, const CommandLine& line);

// The kind of box line's --box option asks for, in kind (nothing when it is absent); false for an
// unknown kind.
bool ParseBoxOption(const CommandLine& line, std::optional<BoxKind>& kind);

// The --iterations option of line checked for use, the project's own count when it is absent; on
// a value that is not allowed prints the program's integer message as one line and returns
// nothing.
std::optional<LockIterations> IterationsOrReport(
    const CommandLine& line, const Doc& doc, LockDataUse use);
