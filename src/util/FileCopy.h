#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class QFile;
class QFileDevice;
class QFileInfo;
class QIODevice;

// Size of the blocks in which a copy goes through memory when the kernel cannot copy directly.
constexpr qint64 CopyBlockSize = 10240;

// Size of the pieces in which a large file is copied, asking between them whether to go on.
constexpr qint64 CopyChunkSize = 8 * 1024 * 1024;

// Asked after every piece of a large copy: false stops it. A file smaller than one piece is never
// stopped, so a copy that has begun on a small file is finished.
using CopyContinue = std::function<bool()>;

// Creates a new, empty file beside path under a name of its own and opens it for writing; its
// permissions are those of any new file. False when the folder cannot be written.
bool CreateSiblingFile(const QString& path, QFile& file);

// Moves the file at from into destination's place in one step, replacing whatever is there: a
// link itself, never the file it points to.
bool MoveOver(const QString& from, const QString& destination);

// Copies the source's remaining bytes to target in blocks; false when a read or write fails.
bool CopyBlocks(QIODevice& source, QIODevice& target);

// Copies the source's remaining bytes to the end of target: the kernel copies between the two
// files directly where it can, else the bytes go through memory in blocks. False when a read or
// write fails or keepGoing said to stop.
bool CopyFileData(QFileDevice& source, QFileDevice& target, const CopyContinue& keepGoing = {});

// True for a regular file, or a link to one. A device, a pipe or a folder is no file to copy: it
// may never end, or never answer.
bool IsRegularFile(const QString& path);

// True when both paths name one existing file, whether through a link, another spelling or a
// second hard link.
bool IsSameFile(const QString& first, const QString& second);

// Copies the device's remaining bytes into a new file at destination, in blocks. Refuses to
// overwrite: false when anything, a link included, is already at destination. A copy that fails
// part way removes what it wrote, so no truncated file is left to pass for a good one.
bool CopyDeviceToNewFile(QIODevice& source, const QString& destination);

// The same from a file, copied as CopyFileData does: false also when source cannot be opened or
// read, or the copy was stopped.
bool CopyFileToNewFile(
    const QString& source, const QString& destination, const CopyContinue& keepGoing = {});

// Copies source to destination, replacing what is there only once the whole copy is written, so
// a failed or stopped copy never leaves a damaged destination behind. A link at destination is
// replaced by the copy, never written through.
bool CopyFileOver(
    const QString& source, const QString& destination, const CopyContinue& keepGoing = {});

// When the file came into being: its birth time where the file system records one, else the time
// of its last status change.
QDateTime FileCreationTime(const QFileInfo& file);

// True when destination is a file copied since source last changed: its creation time is not
// earlier than the source's modification time. A destination that is the source itself is up to
// date too, so that it is never deleted to be copied onto itself. A link at destination is never
// up to date, whatever it points to.
bool IsCopyUpToDate(const QString& source, const QString& destination);
