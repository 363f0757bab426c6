#include "cli/CliCommand.h"
#include "cli/CliSupport.h"
#include "generate/LockData.h"
#include "model/Doc.h"

namespace {

int RunLocks(const QStringList& arguments);

const CliCommand LocksCommand { "locks", "PROJECT.loc [--iterations N] [--form file|preview]",
    RunLocks };

// The preview form never leaves the machine, so it may use a low iteration count.
bool ParseUse(const QString& form, LockDataUse& use)
{
    if (form == QLatin1String("file"))
        use = LockDataUse::Publish;
    else if (form == QLatin1String("preview"))
        use = LockDataUse::Preview;
    else
        return false;
    return true;
}

int RunLocks(const QStringList& arguments)
{
    CommandLine line;
    LockDataUse use = LockDataUse::Publish;
    if (!ParseCommandLine(
            arguments, { QStringLiteral("--iterations"), QStringLiteral("--form") }, line)
        || line.positional.size() != 1
        || !ParseUse(line.options.value(QStringLiteral("--form"), QStringLiteral("file")), use))
        return ReportUsage(LocksCommand);
    const std::optional<LockIterations> iterations = IterationsOrReport(line, use);
    if (!iterations)
        return CliFailure;
    Doc doc;
    if (!LoadProjectOrReport(line.positional[0], doc))
        return CliFailure;
    LockKeyCache cache;
    return WriteStdout(*BuildLockData(doc, *iterations, cache) + '\n') ? CliSuccess : CliFailure;
}

} // namespace

std::vector<CliCommand> LockCommands()
{
    return { LocksCommand };
}
