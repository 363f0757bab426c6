#include "model/ProjectFile.h"

#include "model/Doc.h"
#include "model/ProjectArchive.h"
#include "util/StringIds.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <new>

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

// After a failed read: the device's own error, or else data that is not a project.
FileResult ReadFailure(const QIODevice& device)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    const bool deviceFailed = file && file->error() != QFileDevice::NoError;
    return FileResult::Failure(deviceFailed ? IDS_FAILED_TO_OPEN_DOC : IDS_BAD_FILE_FORMAT);
}

// Reads the record sequence into read, a project of its own, so that a failed read leaves any
// other as it was.
bool ReadRecords(Doc& read, QIODevice& device, qint64 memoryBudget)
{
    try {
        ProjectArchive archive(device, ProjectArchive::Direction::Load, memoryBudget);
        read.Serialize(archive);
        return archive.Finish();
    } catch (const std::bad_alloc&) {
        // The budget keeps allocations within the machine; this catches what is left.
        return false;
    }
}

// Puts a project read from a file in the place of doc, keeping what the file does not hold.
void Place(Doc& read, Doc& doc)
{
    read.publishDirectory = doc.publishDirectory;
    read.SetModified(doc.IsModified());
    doc = std::move(read);
}

int WriteFailureMessage(QFileDevice::FileError error)
{
    return error == QFileDevice::ResourceError ? IDS_DISK_FULL : IDS_FAILED_TO_SAVE_DOC;
}

// True when the file at path produces data although the file system calls it empty, as the files
// under /proc do: such a file is not a document that can be saved back.
bool ProducesDataDespiteZeroSize(QFile& file)
{
    char probe = 0;
    return file.read(&probe, 1) > 0;
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
        // Cancelling replaces the device's error with its own; the cause is taken first.
        const FileResult failure = FileResult::Failure(WriteFailureMessage(file.error()));
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return FileResult::Failure(WriteFailureMessage(file.error()));
    return FileResult::Success();
}

FileResult LoadProject(Doc& doc, const QString& path)
{
    return LoadedProject::Read(path).MoveInto(doc);
}

LoadedProject LoadedProject::Read(const QString& path)
{
    LoadedProject loaded;
    const auto failed = [&loaded](int messageId) {
        loaded.m_result = FileResult::Failure(messageId);
        return std::move(loaded);
    };
    if (path.isEmpty())
        return failed(IDS_BAD_PATH);
    // Only a regular file is opened: a FIFO would block the open, a device never ends.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return failed(IDS_NOT_REGULAR_FILE);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(OpenFailureMessage(path, QIODevice::ReadOnly, IDS_FAILED_TO_OPEN_DOC));
    if (file.size() == 0 && ProducesDataDespiteZeroSize(file))
        return failed(IDS_NOT_REGULAR_FILE);
    if (file.size() == 0)
        return loaded;
    loaded.m_read.emplace();
    if (!ReadRecords(*loaded.m_read, file, 0)) {
        loaded.m_read.reset();
        return failed(ReadFailure(file).messageId);
    }
    return loaded;
}

FileResult LoadedProject::MoveInto(Doc& doc)
{
    if (m_result.ok && m_read)
        Place(*m_read, doc);
    else if (m_result.ok)
        doc.ResetProject();
    m_read.reset();
    return m_result;
}

FileResult ReadProjectFrom(Doc& doc, QIODevice& device)
{
    return ReadProject(doc, device) ? FileResult::Success() : ReadFailure(device);
}

bool WriteProject(Doc& doc, QIODevice& device)
{
    ProjectArchive archive(device, ProjectArchive::Direction::Store);
    doc.Serialize(archive);
    return archive.Finish();
}

bool ReadProject(Doc& doc, QIODevice& device, qint64 memoryBudget)
{
    Doc read;
    if (!ReadRecords(read, device, memoryBudget))
        return false;
    Place(read, doc);
    return true;
}
