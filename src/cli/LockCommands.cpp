#include "cli/CliCommand.h"
#include "cli/CliSupport.h"
#include "generate/LockCsv.h"
#include "generate/LockData.h"
#include "model/Doc.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QFile>

namespace {

int RunLocks(const QStringList& arguments);
int RunExport(const QStringList& arguments);
int RunImport(const QStringList& arguments);

const CliCommand LocksCommand { "locks", "PROJECT.loc [--iterations N] [--form file|preview]",
    RunLocks };
const CliCommand ExportCommand { "locks-export", "PROJECT.loc [-o FILE.csv]", RunExport };
const CliCommand ImportCommand { "locks-import",
    "PROJECT.loc FILE.csv [-o OUT.loc] [--replace] [--generate-passwords]", RunImport };

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
    Doc doc;
    if (!LoadProjectOrReport(line.positional[0], doc))
        return CliFailure;
    const std::optional<LockIterations> iterations = IterationsOrReport(line, doc, use);
    if (!iterations || !ModernBoxAcceptsOrReport(doc))
        return CliFailure;
    NoteShortPasswords(doc);
    LockKeyCache cache;
    return WriteStdout(*BuildLockData(doc, *iterations, cache) + '\n') ? CliSuccess : CliFailure;
}

int RunExport(const QStringList& arguments)
{
    CommandLine line;
    if (!ParseCommandLine(arguments, { QStringLiteral("-o") }, line) || line.positional.size() != 1)
        return ReportUsage(ExportCommand);
    Doc doc;
    if (!LoadProjectOrReport(line.positional[0], doc))
        return CliFailure;
    return EmitOutput(LocksToCsv(doc), line);
}

// The project is written back where it came from unless -o names another file; a stream has no
// place to go back to.
int RunImport(const QStringList& arguments)
{
    const QString replace = QStringLiteral("--replace");
    const QString generate = QStringLiteral("--generate-passwords");
    CommandLine line;
    if (!ParseCommandLine(arguments, { QStringLiteral("-o") }, line, { replace, generate })
        || line.positional.size() != 2)
        return ReportUsage(ImportCommand);
    const QString& projectPath = line.positional[0];
    const QString outPath = line.options.value(QStringLiteral("-o"), projectPath);
    if (IsStream(outPath))
        return ReportUsage(ImportCommand);
    Doc doc;
    if (!LoadProjectOrReport(projectPath, doc))
        return CliFailure;
    const QString& csvPath = line.positional[1];
    QFile csv;
    if (!OpenInput(csv, csvPath))
        return ReportFailure(QFile::encodeName(csvPath) + ": " + csv.errorString().toLocal8Bit());

    std::variant<LockImport, LockImportRefusal> read
        = ReadLockImport(doc, csv.readAll(), line.flags.contains(replace));
    if (const auto* refusal = std::get_if<LockImportRefusal>(&read))
        return ReportFailure(QFile::encodeName(csvPath) + ": " + refusal->Message());
    LockImport& import = std::get<LockImport>(read);
    const int generated = line.flags.contains(generate) ? GeneratePasswords(import) : 0;
    doc.locks = std::move(import.locks);
    if (!SaveProjectOrReport(doc, outPath))
        return CliFailure;
    ReportNote(FormatResourceText(
        IDS_LOCKS_IMPORTED, QByteArray::number(import.added), QByteArray::number(import.updated)));
    if (generated > 0)
        ReportNote(FormatResourceText(IDS_PASSWORDS_GENERATED, QByteArray::number(generated)));
    return CliSuccess;
}

} // namespace

std::vector<CliCommand> LockCommands()
{
    return { LocksCommand, ExportCommand, ImportCommand };
}
