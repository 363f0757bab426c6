#include "publish/PublishCopy.h"

#include "framework/Prompts.h"
#include "generate/ResourceList.h"
#include "publish/DialogCopyProgress.h"
#include "util/FileCopy.h"
#include "util/Paths.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

// What becomes of one file, and of the run.
enum class Outcome { Copied, Skipped, Stopped };

// A path that names anything at all, a dangling link included, as the system's attribute query
// would find it.
bool PathExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Repeats step until it succeeds, asking with Abort, Retry and Ignore after each failure:
// nothing when it succeeded, else what becomes of the file.
template<class Step, class Ask> std::optional<Outcome> RetryUntilDone(Step step, Ask ask)
{
    while (!step()) {
        const PromptAnswer answer = ask();
        if (answer == PromptAnswer::Ignore)
            return Outcome::Skipped;
        if (answer != PromptAnswer::Retry)
            return Outcome::Stopped;
    }
    return std::nullopt;
}

Outcome CopyOne(const QByteArray& source, const QByteArray& destination,
    DialogCopyProgress& progress, QWidget* owner)
{
    const QString from = QFile::decodeName(source);
    const QString to = QFile::decodeName(destination);
    const std::optional<Outcome> missing = RetryUntilDone([&] { return IsRegularFile(from); },
        [&] {
            return ShowResourceMessage(owner, IDS_FILE_MISSING, PromptIcon::Warning,
                PromptButtons::AbortRetryIgnore, source);
        });
    if (missing)
        return *missing;
    if (PathExists(to)) {
        switch (ShowResourceMessage(owner, IDS_ASK_REPLACE_FILE, PromptIcon::Question,
            PromptButtons::YesNoCancel, destination)) {
        case PromptAnswer::Yes:
            break;
        case PromptAnswer::No:
            return Outcome::Skipped;
        default:
            return Outcome::Stopped;
        }
    }
    const CopyContinue keepGoing = [&progress] { return progress.KeepGoing(); };
    const std::optional<Outcome> failed = RetryUntilDone(
        [&] { return CopyFileOver(from, to, keepGoing) || progress.IsCancelled(); },
        [&] {
            return ShowResourceMessage(owner, IDS_COPY_FAILED, PromptIcon::Warning,
                PromptButtons::AbortRetryIgnore, source, destination);
        });
    if (failed)
        return *failed;
    return progress.IsCancelled() ? Outcome::Stopped : Outcome::Copied;
}

} // namespace

bool ReportNameClash(QWidget* owner, const QList<QByteArray>& paths)
{
    const std::optional<NameClash> clash = FindNameClash(paths);
    if (clash)
        ShowResourceMessage(owner, IDS_SAME_FILE_NAME, PromptIcon::Warning, PromptButtons::Ok,
            clash->first, clash->second);
    return clash.has_value();
}

bool PublishFiles(const QList<QByteArray>& sources, const QByteArray& destinationPrefix,
    DialogCopyProgress& progress, QWidget* owner)
{
    bool complete = true;
    for (int i = 0; i < sources.size(); ++i) {
        const QByteArray name = FileNamePart(sources[i]);
        progress.SetText(FormatResourceText(IDS_COPYING_FILE, name));
        progress.SetPosition(i);
        if (progress.IsCancelled())
            return false;
        const Outcome outcome = CopyOne(sources[i], destinationPrefix + name, progress, owner);
        if (outcome == Outcome::Stopped)
            return false;
        complete = complete && outcome == Outcome::Copied;
    }
    return complete;
}
