#include "cli/CliSupport.h"

#include "cli/CliCommand.h"
#include "model/Doc.h"
#include "model/ProjectFile.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QFile>

#include <cstdio>

namespace {

bool ReportFileResult(const FileResult& result, const QString& path)
{
    if (result.ok)
        return true;
    ReportFailure(FormatResourceText(result.messageId, QFile::encodeName(path)));
    return false;
}

} // namespace

bool LoadProjectOrReport(const QString& path, Doc& doc)
{
    return ReportFileResult(LoadProject(doc, path), path);
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

int ReportFailure(const QByteArray& message)
{
    std::fprintf(stderr, "%s\n", message.constData());
    return CliFailure;
}

int ReportUsage(const CliCommand& command)
{
    std::fprintf(stderr, "usage: zarnith-cli %s %s\n", command.name, command.usage);
    return CliUsage;
}

QByteArray ArgumentBytes(const QString& argument)
{
    return argument.toLocal8Bit();
}

bool ParseCommandLine(
    const QStringList& arguments, const QStringList& optionNames, CommandLine& line)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1Char('-')) || argument.size() == 1) {
            line.positional.append(argument);
            continue;
        }
        if (!optionNames.contains(argument) || i + 1 == arguments.size()
            || line.options.contains(argument))
            return false;
        line.options.insert(argument, arguments[++i]);
    }
    return true;
}

std::optional<LockIterations> IterationsOrReport(const CommandLine& line, LockDataUse use)
{
    const auto value = line.options.constFind(QStringLiteral("--iterations"));
    if (value == line.options.constEnd())
        return LockIterations::Checked(LockIterations::kDefault, use);
    bool isNumber = false;
    const int count = value->toInt(&isNumber);
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
