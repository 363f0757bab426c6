#include "cli/CliSupport.h"

#include "cli/CliCommand.h"
#include "generate/OutputFile.h"
#include "model/BoxReferences.h"
#include "model/Doc.h"
#include "model/LockCheck.h"
#include "model/ProjectFile.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool ReportFileResult(const FileResult& result, const QString& path)
{
    if (result.ok)
        return true;
    ReportFailure(FormatResourceText(result.messageId, QFile::encodeName(path)));
    return false;
}

bool IsPipe(const QString& path)
{
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

// Opens standard input for "-", or the pipe at path. The pipe is opened without waiting for a
// writer, so that a FIFO nobody writes to reads as empty instead of hanging; reads then wait for
// data as usual.
bool OpenStream(QFile& input, const QString& path)
{
    if (path == QLatin1String("-"))
        return input.open(stdin, QIODevice::ReadOnly);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return input.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
}

} // namespace

bool IsStream(const QString& path)
{
    return path == QLatin1String("-") || IsPipe(path);
}

bool OpenInput(QFile& input, const QString& path)
{
    if (IsStream(path))
        return OpenStream(input, path);
    input.setFileName(path);
    return input.open(QIODevice::ReadOnly);
}

bool LoadProjectOrReport(const QString& path, Doc& doc)
{
    if (!IsStream(path))
        return ReportFileResult(LoadProject(doc, path), path);
    QFile input;
    if (!OpenStream(input, path))
        return ReportFileResult(FileResult::Failure(IDS_FAILED_TO_OPEN_DOC), path);
    return ReportFileResult(ReadProjectFrom(doc, input), path);
}

bool LoadReadableProjectOrReport(const QString& path, Doc& doc)
{
    if (!LoadProjectOrReport(path, doc))
        return false;
    if (const std::optional<UnreadableLock> problem = FindUnreadableLock(doc)) {
        ReportFailure(UnreadableLockMessage(doc, *problem));
        return false;
    }
    return true;
}

bool SaveProjectOrReport(Doc& doc, const QString& path)
{
    return ReportFileResult(SaveProject(doc, path), path);
}

bool WriteStdout(const QByteArray& bytes)
{
    const std::size_t written = std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
    return std::fflush(stdout) == 0 && written == std::size_t(bytes.size());
}

void ReportNote(const QByteArray& message)
{
    std::fprintf(stderr, "%s\n", message.constData());
}

int ReportFailure(const QByteArray& message)
{
    ReportNote(message);
    return CliFailure;
}

int ReportUsage(const CliCommand& command)
{
    std::fprintf(stderr, "usage: zarnith-cli %s %s\n", command.name, command.usage);
    return CliUsage;
}

namespace {

QByteArrayList& RecordedArguments()
{
    static QByteArrayList arguments;
    return arguments;
}

} // namespace

void RecordCommandArguments(int argc, char** argv)
{
    for (int i = 2; i < argc; ++i)
        RecordedArguments().append(QByteArray(argv[i]));
}

QByteArray CommandArgumentBytes(qsizetype index)
{
    return RecordedArguments().value(index);
}

bool ParseCommandLine(const QStringList& arguments, const QStringList& optionNames,
    CommandLine& line, const QStringList& flagNames)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1Char('-')) || argument.size() == 1) {
            line.positional.append(argument);
            continue;
        }
        if (flagNames.contains(argument)) {
            if (line.flags.contains(argument))
                return false;
            line.flags.insert(argument);
            continue;
        }
        if (!optionNames.contains(argument) || i + 1 == arguments.size()
            || line.options.contains(argument))
            return false;
        line.options.insert(argument, arguments[++i]);
    }
    return true;
}

int EmitOutput(const QByteArray& bytes, const CommandLine& line)
{
    const QString out = line.options.value(QStringLiteral("-o"));
    if (out.isEmpty())
        return WriteStdout(bytes) ? CliSuccess : CliFailure;
    return ReportFileResult(WriteOutputFile(out, bytes), out) ? CliSuccess : CliFailure;
}

bool ParseBoxOption(const CommandLine& line, std::optional<BoxKind>& kind)
{
    const auto name = line.options.constFind(QStringLiteral("--box"));
    if (name == line.options.constEnd())
        return true;
    kind = ParseBoxKind(name->toUtf8());
    return kind.has_value();
}

std::optional<LockIterations> IterationsOrReport(
    const CommandLine& line, const Doc& doc, LockDataUse use)
{
    const auto value = line.options.constFind(QStringLiteral("--iterations"));
    bool isNumber = true;
    const int count = value == line.options.constEnd() ? doc.iterations : value->toInt(&isNumber);
    if (!isNumber) {
        ReportFailure(LoadResourceText(IDS_PARSE_INT));
        return std::nullopt;
    }
    const std::optional<LockIterations> iterations = LockIterations::Checked(count, use);
    if (!iterations)
        ReportFailure(FormatResourceText(IDS_PARSE_INT_RANGE,
            QByteArray::number(LockIterations::Minimum(use)),
            QByteArray::number(LockIterations::kMaximum)));
    return iterations;
}

bool ModernBoxAcceptsOrReport(const Doc& doc)
{
    const std::optional<QByteArray> refusal = ModernBoxRefusal(doc);
    if (refusal)
        ReportFailure(*refusal);
    return !refusal;
}

void NoteShortPasswords(const Doc& doc)
{
    if (const int count = CountShortPasswords(doc))
        ReportNote(FormatResourceText(IDS_SHORT_PASSWORDS_COUNTED, QByteArray::number(count)));
}
