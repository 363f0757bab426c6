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

Outcome CopyOne(const QByteArray& source, const QByteArray& destination, QWidget* owner)
{
    const QString from = QFile::decodeName(source);
    const QString to = QFile::decodeName(destination);
    while (!PathExists(from)) {
        switch (ShowResourceMessage(owner, IDS_FILE_MISSING, PromptIcon::Warning,
            PromptButtons::AbortRetryIgnore, source)) {
        case PromptAnswer::Retry:
            continue;
        case PromptAnswer::Ignore:
            return Outcome::Skipped;
        default:
            return Outcome::Stopped;
        }
    }
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
    while (!CopyFileOver(from, to)) {
        switch (ShowResourceMessage(owner, IDS_COPY_FAILED, PromptIcon::Warning,
            PromptButtons::AbortRetryIgnore, source, destination)) {
        case PromptAnswer::Retry:
            continue;
        case PromptAnswer::Ignore:
            return Outcome::Skipped;
        default:
            return Outcome::Stopped;
        }
    }
    return Outcome::Copied;
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
    char block[CopyBlockSize];
    for (;;) {
        const qint64 count = input.read(block, CopyBlockSize);
        if (count == 0)
            return output.commit();
        if (count < 0 || output.write(block, count) != count) {
            output.cancelWriting();
            return false;
        }
    }
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
