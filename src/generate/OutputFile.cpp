#include "generate/OutputFile.h"

#include "util/FileCopy.h"
#include "util/StringIds.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace {

// The cause of a file that could not be opened for writing, read from the file system since
// QSaveFile reports only that the open failed.
int OpenFailureMessage(const QString& path)
{
    if (path.isEmpty())
        return IDS_BAD_PATH;
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return IDS_BAD_PATH; // a missing folder, or a file where a folder should be
    if (target.isDir() || !folder.isWritable() || (target.exists() && !target.isWritable()))
        return IDS_ACCESS_DENIED;
    return IDS_WRITE_ERROR;
}

int WriteFailureMessage(const QFileDevice& file)
{
    switch (file.error()) {
    case QFileDevice::ResourceError:
        return IDS_DISK_FULL;
    case QFileDevice::PermissionsError:
        return IDS_ACCESS_DENIED;
    case QFileDevice::RenameError:
        return OpenFailureMessage(file.fileName());
    default:
        return IDS_WRITE_ERROR;
    }
}

FileResult WriteAtomically(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly))
        return FileResult::Failure(OpenFailureMessage(path));
    if (!write(file)) {
        const int message = WriteFailureMessage(file);
        file.cancelWriting();
        return FileResult::Failure(message);
    }
    if (!file.commit())
        return FileResult::Failure(WriteFailureMessage(file));
    return FileResult::Success();
}

} // namespace

FileResult WriteOutputFile(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    if (!QFileInfo(path).isSymLink())
        return WriteAtomically(path, write);
    // QSaveFile would write to the file a link points to, wherever that is: the output is
    // written beside the link and then takes the link's place.
    QFile beside;
    if (!CreateSiblingFile(path, beside))
        return FileResult::Failure(OpenFailureMessage(path));
    const QString temporary = beside.fileName();
    beside.close();
    FileResult result = WriteAtomically(temporary, write);
    if (result.ok && !MoveOver(temporary, path))
        result = FileResult::Failure(OpenFailureMessage(path));
    if (!result.ok)
        QFile::remove(temporary);
    return result;
}

FileResult WriteOutputFile(const QString& path, const QByteArray& bytes)
{
    return WriteOutputFile(
        path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

FileResult WritePublishedFile(const QString& path, const QByteArray& bytes)
{
    QFile file;
    if (path.isEmpty() || !CreateSiblingFile(path, file))
        return FileResult::Failure(OpenFailureMessage(path));
    // The cause is taken before closing, which forgets it.
    std::optional<int> failure;
    if (file.write(bytes) != bytes.size())
        failure = WriteFailureMessage(file);
    file.close();
    if (!failure && file.error() != QFileDevice::NoError)
        failure = WriteFailureMessage(file);
    if (!failure && MoveOver(file.fileName(), path))
        return FileResult::Success();
    file.remove();
    return FileResult::Failure(failure.value_or(OpenFailureMessage(path)));
}
