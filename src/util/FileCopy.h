#pragma once

#include <QDateTime>
#include <QString>

class QFileInfo;
class QIODevice;

// Size of the blocks in which files are copied.
constexpr qint64 CopyBlockSize = 10240;

// Copies the source's remaining bytes to target in blocks; false when a read or write fails.
bool CopyBlocks(QIODevice& source, QIODevice& target);

// Copies the device's remaining bytes into a new file at destination, in blocks. Refuses to
// overwrite: false when destination already exists. A copy that fails part way removes what it
// wrote, so no truncated file is left to pass for a good one.
bool CopyDeviceToNewFile(QIODevice& source, const QString& destination);

// The same from a file: false also when source cannot be opened or read.
bool CopyFileToNewFile(const QString& source, const QString& destination);

// When the file came into being: its birth time where the file system records one, else the time
// of its last status change.
QDateTime FileCreationTime(const QFileInfo& file);

// True when destination is a file copied since source last changed: its creation time is not
// earlier than the source's modification time. A destination that is the source itself is up to
// date too, so that it is never deleted to be copied onto itself.
bool IsCopyUpToDate(const QString& source, const QString& destination);
