#include "model/ProjectFile.h"

#include "model/Doc.h"
#include "model/ProjectArchive.h"
#include "util/StringIds.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The message for a file that could not be opened, from what the file system shows about it.
int OpenFailureMessage(const QString& path, QIODevice::OpenMode mode, int fallback)
{
    if (path.isEmpty())
        return IDS_BAD_PATH;
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return IDS_BAD_PATH;
    if (mode & QIODevice::WriteOnly) {
        if (file.isDir() || (file.exists() && !file.isWritable()) || !folder.isWritable())
            return IDS_ACCESS_DENIED;
        return fallback;
    }
    if (!file.exists())
        return IDS_FILE_NOT_FOUND;
    if (file.isDir() || !file.isReadable())
        return IDS_ACCESS_DENIED;
    return fallback;
}

int WriteFailureMessage(const QFileDevice& file)
{
    return file.error() == QFileDevice::ResourceError ? IDS_DISK_FULL : IDS_FAILED_TO_SAVE_DOC;
}

} // namespace

FileResult SaveProject(Doc& doc, const QString& path)
{
    // Unbuffered: the archive writes in blocks itself, and every failed write then reaches
    // QSaveFile, whose commit would not notice a failure while flushing its own buffer.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FileResult::Failure(
            OpenFailureMessage(path, QIODevice::WriteOnly, IDS_FAILED_TO_SAVE_DOC));
    if (!WriteProject(doc, file)) {
        file.cancelWriting();
        return FileResult::Failure(WriteFailureMessage(file));
    }
    if (!file.commit())
        return FileResult::Failure(WriteFailureMessage(file));
    return FileResult::Success();
}

FileResult LoadProject(Doc& doc, const QString& path)
{
    doc.ResetProject();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::Failure(
            OpenFailureMessage(path, QIODevice::ReadOnly, IDS_FAILED_TO_OPEN_DOC));
    if (file.size() == 0)
        return FileResult::Success();
    if (ReadProject(doc, file))
        return FileResult::Success();
    const bool deviceFailed = file.error() != QFileDevice::NoError;
    return FileResult::Failure(deviceFailed ? IDS_FAILED_TO_OPEN_DOC : IDS_BAD_FILE_FORMAT);
}

bool WriteProject(Doc& doc, QIODevice& device)
{
    ProjectArchive archive(device, ProjectArchive::Direction::Store);
    doc.Serialize(archive);
    return archive.Finish();
}

bool ReadProject(Doc& doc, QIODevice& device)
{
    // A failed read leaves the defaults and the HTML path of the project open before, not
    // whatever part of the broken file was read.
    const QByteArray previousHtmlFilePath = doc.htmlFilePath;
    doc.ResetProject();
    ProjectArchive archive(device, ProjectArchive::Direction::Load);
    doc.Serialize(archive);
    if (archive.Finish())
        return true;
    doc.ResetProject();
    doc.htmlFilePath = previousHtmlFilePath;
    return false;
}
