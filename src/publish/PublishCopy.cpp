#include "publish/PublishCopy.h"

#include "framework/Prompts.h"
#include "publish/DialogCopyProgress.h"
#include "util/FileCopy.h"
#include "util/Paths.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

Outcome CopyOne(const QByteArray& source, const QByteArray& destination, QWidget* owner)
{
    const QString from = QFile::decodeName(source);
    const QString to = QFile::decodeName(destination);
    const std::optional<Outcome> missing = RetryUntilDone([&] { return PathExists(from); },
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
    const std::optional<Outcome> failed = RetryUntilDone([&] { return CopyFileOver(from, to); },
        [&] {
            return ShowResourceMessage(owner, IDS_COPY_FAILED, PromptIcon::Warning,
                PromptButtons::AbortRetryIgnore, source, destination);
        });
    return failed.value_or(Outcome::Copied);
}

} // namespace

bool CopyFileOver(const QString& source, const QString& destination)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    QSaveFile output(destination);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    if (CopyBlocks(input, output))
        return output.commit();
    output.cancelWriting();
    return false;
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
        const Outcome outcome = CopyOne(sources[i], destinationPrefix + name, owner);
        if (outcome == Outcome::Stopped)
            return false;
        complete = complete && outcome == Outcome::Copied;
    }
    return complete;
}
