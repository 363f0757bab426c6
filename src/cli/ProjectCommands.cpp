#include "cli/CliCommand.h"
#include "cli/CliSupport.h"
#include "cli/DocJson.h"
#include "generate/LockLines.h"
#include "generate/MemberKeys.h"
#include "generate/TableCipher.h"
#include "model/Doc.h"
#include "model/LockCheck.h"

#include <QFile>

namespace {

int RunNew(const QStringList& arguments);
int RunDump(const QStringList& arguments);
int RunBuild(const QStringList& arguments);
int RunScramble(const QStringList& arguments);
int RunUnscramble(const QStringList& arguments);

const CliCommand NewCommand { "new", "[--box classic|modern|both] OUT.loc", RunNew };
const CliCommand DumpCommand { "dump", "PROJECT.loc", RunDump };
const CliCommand BuildCommand { "build", "IN.json OUT.loc", RunBuild };
const CliCommand ScrambleCommand { "scramble", "TEXT", RunScramble, true };
const CliCommand UnscrambleCommand { "unscramble", "TEXT", RunUnscramble, true };

int RunNew(const QStringList& arguments)
{
    CommandLine line;
    std::optional<BoxKind> kind;
    if (!ParseCommandLine(arguments, { QStringLiteral("--box") }, line)
        || line.positional.size() != 1 || !ParseBoxOption(line, kind))
        return ReportUsage(NewCommand);
    Doc doc;
    doc.boxKind = kind.value_or(doc.boxKind);
    return SaveProjectOrReport(doc, line.positional[0]) ? CliSuccess : CliFailure;
}

int RunDump(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return ReportUsage(DumpCommand);
    Doc doc;
    if (!LoadProjectOrReport(arguments[0], doc))
        return CliFailure;
    return WriteStdout(DocToJson(doc)) ? CliSuccess : CliFailure;
}

int RunBuild(const QStringList& arguments)
{
    if (arguments.size() != 2)
        return ReportUsage(BuildCommand);
    QFile input;
    if (!OpenInput(input, arguments[0]))
        return ReportFailure(
            QFile::encodeName(arguments[0]) + ": " + input.errorString().toLocal8Bit());
    Doc doc;
    QByteArray error;
    if (!DocFromJson(input.readAll(), doc, error))
        return ReportFailure(QFile::encodeName(arguments[0]) + ": " + error);
    if (const std::optional<UnreadableLock> problem = FindUnreadableLock(doc))
        return ReportFailure(
            QFile::encodeName(arguments[0]) + ": " + UnreadableLockMessage(doc, *problem));
    if (const std::optional<QByteArray> problem = MemberAreasProblem(doc))
        return ReportFailure(QFile::encodeName(arguments[0]) + ": " + *problem);
    // An area without a key gets one, and one whose members lost access a new one, as the window
    // does when it saves.
    RefreshAreaKeys(doc);
    return SaveProjectOrReport(doc, arguments[1]) ? CliSuccess : CliFailure;
}

int RunScramble(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return ReportUsage(ScrambleCommand);
    Doc doc;
    doc.encrypt = 1;
    return WriteStdout(ScrambleText(doc, CommandArgumentBytes(0))) ? CliSuccess : CliFailure;
}

int RunUnscramble(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return ReportUsage(UnscrambleCommand);
    QByteArray plain = CommandArgumentBytes(0);
    TableCipher::UnscrambleInPlace(plain.data(), plain.size());
    return WriteStdout(plain) ? CliSuccess : CliFailure;
}

} // namespace

std::vector<CliCommand> ProjectCommands()
{
    return { NewCommand, DumpCommand, BuildCommand, ScrambleCommand, UnscrambleCommand };
}
