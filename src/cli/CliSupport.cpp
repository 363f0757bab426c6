#include "cli/CliSupport.h"

#include "cli/CliCommand.h"
#include "model/Doc.h"
#include "model/ProjectFile.h"
#include "util/ResourceText.h"

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
