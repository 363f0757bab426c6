#pragma once

#include "model/ProjectFile.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Writes a generated file (page, lock input file, preview files) byte for byte, replacing any
// file at path. The write is atomic: on failure the previous file, if any, stays as it was. A
// symbolic link at path is never written through: the file replaces the link itself (a failed
// write leaves the link). A failure names the string-table message for its cause (access denied,
// disk full, bad path, ...).
FileResult WriteOutputFile(const QString& path, const QByteArray& bytes);

// The same for content produced straight onto the file's device, for files too large to build in
// memory first; write returns false when it could not produce the whole content.
FileResult WriteOutputFile(const QString& path, const std::function<bool(QIODevice&)>& write);

// The same for the files of a publish, without waiting for the disk to hold them, as the site's
// copied files are written (CopyFileOver): a publish writes thousands of files for an upload, and
// a wait for each would cost more than the writing. Just as atomic, and never through a link.
FileResult WritePublishedFile(const QString& path, const QByteArray& bytes);
