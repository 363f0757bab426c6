#include "cli/CliCommand.h"
#include "cli/CliSupport.h"
#include "generate/BoxPage.h"
#include "generate/HtmlPage.h"
#include "generate/LockData.h"
#include "generate/LockInputFile.h"
#include "generate/OutputFile.h"
#include "generate/ParameterBlock.h"
#include "generate/PublishPlan.h"
#include "generate/ResourceList.h"
#include "model/Doc.h"
#include "util/FileCopy.h"
#include "util/Paths.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"
#include "util/SunAudio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <optional>

namespace {

int RunHtml(const QStringList& arguments);
int RunParams(const QStringList& arguments);
int RunLockFile(const QStringList& arguments);
int RunResources(const QStringList& arguments);
int RunPublish(const QStringList& arguments);
int RunAuToWav(const QStringList& arguments);

const CliCommand HtmlCommand { "html",
    "PROJECT.loc [--form file|preview|segment] [--box classic|modern|both] [--iterations N] "
    "[-o OUT]",
    RunHtml };
const CliCommand ParamsCommand { "params", "PROJECT.loc", RunParams };
const CliCommand LockFileCommand { "lockfile", "PROJECT.loc [-o OUT]", RunLockFile };
const CliCommand ResourcesCommand { "resources", "PROJECT.loc [--box classic|modern|both]",
    RunResources };
const CliCommand PublishCommand { "publish",
    "PROJECT.loc DIR [--box classic|modern|both] [--iterations N]", RunPublish };
const CliCommand AuToWavCommand { "au2wav", "IN.au OUT.wav", RunAuToWav };

int ReportFileResult(const FileResult& result, const QString& path)
{
    if (result.ok)
        return CliSuccess;
    return ReportFailure(FormatResourceText(result.messageId, QFile::encodeName(path)));
}

bool ParseForm(const QString& name, HtmlPageForm& form)
{
    static const QHash<QString, HtmlPageForm> forms {
        { QStringLiteral("file"), HtmlPageForm::File },
        { QStringLiteral("preview"), HtmlPageForm::Preview },
        { QStringLiteral("segment"), HtmlPageForm::Segment },
    };
    const auto found = forms.constFind(name);
    if (found == forms.constEnd())
        return false;
    form = *found;
    return true;
}

// The lock data the outputs of the kind need, with the --iterations option checked for the use;
// empty for the classic kind, nothing after a refused option or a project the modern box would
// refuse (already reported).
std::optional<QByteArray> LockDataOrReport(
    const Doc& doc, BoxKind kind, const CommandLine& line, LockDataUse use)
{
    const std::optional<LockIterations> iterations = IterationsOrReport(line, doc, use);
    if (!iterations)
        return std::nullopt;
    if (!UsesModernBox(kind))
        return QByteArray();
    if (!ModernBoxAcceptsOrReport(doc))
        return std::nullopt;
    NoteShortPasswords(doc);
    LockKeyCache cache;
    return BuildLockData(doc, *iterations, cache);
}

// One line on standard error when the output holds the applet's locks readable.
void NoteReadableLocks(const Doc& doc, BoxKind kind, bool carriesLocks)
{
    if (const std::optional<int> warning = ReadableLocksWarning(doc, kind, carriesLocks))
        ReportNote("warning: " + LoadResourceText(*warning));
}

// The modern box cannot mail; a project that asks for mail is told so, once.
void NoteMailNotSent(const Doc& doc, BoxKind kind)
{
    if (UsesModernBox(kind) && (!doc.correctEmail.isEmpty() || !doc.failEmail.isEmpty()))
        ReportNote("note: the modern login box sends no e-mail; the project's e-mail "
                   "logging works only in the applet");
}

int RunHtml(const QStringList& arguments)
{
    CommandLine line;
    HtmlPageForm form = HtmlPageForm::File;
    std::optional<BoxKind> kindOption;
    if (!ParseCommandLine(arguments,
            { QStringLiteral("--form"), QStringLiteral("--box"), QStringLiteral("--iterations"),
                QStringLiteral("-o") },
            line)
        || line.positional.size() != 1
        || !ParseForm(line.options.value(QStringLiteral("--form"), QStringLiteral("file")), form)
        || !ParseBoxOption(line, kindOption))
        return ReportUsage(HtmlCommand);
    Doc doc;
    if (!LoadReadableProjectOrReport(line.positional[0], doc))
        return CliFailure;
    const BoxKind kind = kindOption.value_or(doc.boxKind);
    const std::optional<QByteArray> lockData = LockDataOrReport(doc, kind, line,
        form == HtmlPageForm::Preview ? LockDataUse::Preview : LockDataUse::Publish);
    if (!lockData)
        return CliFailure;
    NoteMailNotSent(doc, kind);
    NoteReadableLocks(doc, kind, !doc.ReadsLocksFromFile());
    return EmitOutput(BuildBoxPage(doc, kind, form, *lockData), line);
}

int RunParams(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return ReportUsage(ParamsCommand);
    Doc doc;
    if (!LoadReadableProjectOrReport(arguments[0], doc))
        return CliFailure;
    NoteReadableLocks(doc, BoxKind::Classic, !doc.ReadsLocksFromFile());
    return WriteStdout(BuildParameterBlock(doc)) ? CliSuccess : CliFailure;
}

int RunLockFile(const QStringList& arguments)
{
    CommandLine line;
    if (!ParseCommandLine(arguments, { QStringLiteral("-o") }, line) || line.positional.size() != 1)
        return ReportUsage(LockFileCommand);
    Doc doc;
    if (!LoadReadableProjectOrReport(line.positional[0], doc))
        return CliFailure;
    NoteReadableLocks(doc, BoxKind::Classic, true);
    return EmitOutput(BuildLockInputFile(doc), line);
}

int RunResources(const QStringList& arguments)
{
    CommandLine line;
    std::optional<BoxKind> kindOption;
    if (!ParseCommandLine(arguments, { QStringLiteral("--box") }, line)
        || line.positional.size() != 1 || !ParseBoxOption(line, kindOption))
        return ReportUsage(ResourcesCommand);
    Doc doc;
    if (!LoadProjectOrReport(line.positional[0], doc))
        return CliFailure;
    const BoxKind kind = kindOption.value_or(doc.boxKind);
    QByteArray listing;
    for (const BoxResource& resource : GetBoxResources(doc, kind))
        listing += resource.path + '\n';
    return WriteStdout(listing) ? CliSuccess : CliFailure;
}

// Answers a problem file by stopping, keeping its message for the one error line, and prints
// what happened to every file.
class CommandLineObserver : public PublishObserver
{
public:
    Choice OnMissing(const PlannedFile& file) override
    {
        m_message = MissingSourceMessage(file);
        return Choice::Stop;
    }

    Choice OnFailed(const PlannedFile&, const QByteArray& message) override
    {
        m_message = message;
        return Choice::Stop;
    }

    void Done(const PlannedFile& file, const QByteArray& destination, bool written) override
    {
        if (!written)
            WriteStdout("up to date " + destination + '\n');
        else if (file.origin == PlannedFile::Origin::Copied
            || (file.origin == PlannedFile::Origin::SiteFile && !file.transform))
            WriteStdout("copied " + file.source + " -> " + destination + '\n');
        else
            WriteStdout("written " + destination + '\n');
    }

    const QByteArray& Message() const { return m_message; }

private:
    QByteArray m_message;
};

int RunPublish(const QStringList& arguments)
{
    CommandLine line;
    std::optional<BoxKind> kindOption;
    if (!ParseCommandLine(
            arguments, { QStringLiteral("--box"), QStringLiteral("--iterations") }, line)
        || line.positional.size() != 2 || !ParseBoxOption(line, kindOption))
        return ReportUsage(PublishCommand);
    Doc doc;
    if (!LoadReadableProjectOrReport(line.positional[0], doc))
        return CliFailure;
    const BoxKind kind = kindOption.value_or(doc.boxKind);
    const QString folder = line.positional[1];
    QByteArray prefix = QFile::encodeName(folder);
    if (!prefix.endsWith('/'))
        prefix += '/';
    const QByteArray projectPath
        = IsStream(line.positional[0]) ? QByteArray() : QFile::encodeName(line.positional[0]);
    // Everything is decided, and every name checked, before anything is written.
    const std::variant<PublishPlan, PlanProblem> planned
        = MakePublishPlan(doc, { kind, ResolveSiteFolder(doc, projectPath), prefix, {} });
    if (const auto* problem = std::get_if<PlanProblem>(&planned))
        return ReportFailure(
            FormatResourceText(problem->messageId, problem->first, problem->second));
    const PublishPlan& plan = std::get<PublishPlan>(planned);
    const std::optional<QByteArray> lockData
        = LockDataOrReport(doc, kind, line, LockDataUse::Publish);
    if (!lockData)
        return CliFailure;
    NoteMailNotSent(doc, kind);
    for (const PlanNote& note : plan.leftOut)
        ReportNote(FormatResourceText(note.messageId, note.path));

    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder))
        return ReportFailure(
            FormatResourceText(IDS_CREATE_DIRECTORY_FAILED, QFile::encodeName(folder)));
    CommandLineObserver observer;
    const PublishContent content { BuildBoxPage(doc, kind, HtmlPageForm::File, *lockData),
        *lockData };
    if (!WritePublishPlan(plan, doc, content, prefix, observer).complete)
        return ReportFailure(observer.Message());
    // The applet's page holds the locks, or the lock input file published beside it does.
    NoteReadableLocks(doc, kind, true);
    return CliSuccess;
}

int RunAuToWav(const QStringList& arguments)
{
    if (arguments.size() != 2)
        return ReportUsage(AuToWavCommand);
    const QString& in = arguments[0];
    const QString& out = arguments[1];
    QFile input(in);
    if (!input.open(QIODevice::ReadOnly) || !CheckSunAudioHeader(input))
        return ReportFailure(FormatResourceText(IDS_BAD_AUDIO_FORMAT, QFile::encodeName(in)));
    if (!input.isSequential() && input.size() - input.pos() > qint64(MaxWaveSampleCount))
        return ReportFailure(FormatResourceText(IDS_AUDIO_TOO_LARGE, QFile::encodeName(in)));
    // Writing the output would replace the input before it was read.
    if (IsSameFile(in, out))
        return ReportFailure(FormatResourceText(IDS_OUTPUT_IS_INPUT, QFile::encodeName(out)));
    input.seek(0);
    return ReportFileResult(
        WriteOutputFile(
            out, [&input](QIODevice& device) { return ConvertSunAudioToWave(input, device); }),
        out);
}

} // namespace

std::vector<CliCommand> OutputCommands()
{
    return { HtmlCommand, ParamsCommand, LockFileCommand, ResourcesCommand, PublishCommand,
        AuToWavCommand };
}
