#include "generate/CopyResources.h"

#include "generate/ResourceList.h"
#include "util/FileCopy.h"
#include "util/Paths.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool MakeFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink())
        QDir().mkdir(folder);
    return QFileInfo(folder).isDir();
}

QByteArray DestinationPrefix(const QByteArray& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

} // namespace

bool CopyResourceFiles(
    const QList<QByteArray>& sources, const QByteArray& destinationFolder, CopyPrompt& prompt)
{
    if (destinationFolder.isEmpty() || !MakeFolder(QFile::decodeName(destinationFolder)))
        return false;
    const QByteArray prefix = DestinationPrefix(destinationFolder);
    for (const QByteArray& source : sources) {
        const QByteArray destination = prefix + FileNamePart(source);
        const QString from = QFile::decodeName(source);
        const QString to = QFile::decodeName(destination);
        while (!IsRegularFile(from)) {
            if (!prompt.AskRetry(IDS_FILE_MISSING, FormatResourceText(IDS_FILE_MISSING, source)))
                return false;
        }
        if (IsCopyUpToDate(from, to)) {
            prompt.Report(source, destination, false);
            continue;
        }
        // A link goes, not what it points to; a failure shows up as the copy's failure below.
        QFile::remove(to);
        while (!CopyFileToNewFile(from, to)) {
            if (!prompt.AskRetry(
                    IDS_COPY_FAILED, FormatResourceText(IDS_COPY_FAILED, source, destination)))
                return false;
        }
        prompt.Report(source, destination, true);
    }
    return true;
}

bool CopyResources(const Doc& doc, const QByteArray& destinationFolder, CopyPrompt& prompt,
    const ProgramInfo& info)
{
    return CopyResourceFiles(CopiedResources(doc, info), destinationFolder, prompt);
}
