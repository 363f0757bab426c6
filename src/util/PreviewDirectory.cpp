#include "util/PreviewDirectory.h"

#include "util/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QByteArray ProgramPreviewDirectory()
{
    return ProgramDirectory() + "Preview/";
}

QByteArray CachePreviewDirectory()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty())
        return {};
    return QFile::encodeName(cache) + "/Preview/";
}

bool IsWritableDirectory(const QByteArray& path)
{
    const QFileInfo info(QFile::decodeName(path));
    return info.isDir() && info.isWritable();
}

bool MakeWritableDirectory(const QByteArray& path)
{
    return !path.isEmpty() && QDir().mkpath(QFile::decodeName(path)) && IsWritableDirectory(path);
}

} // namespace

QByteArray PreviewDirectory()
{
    for (const QByteArray& candidate : { ProgramPreviewDirectory(), CachePreviewDirectory() }) {
        if (MakeWritableDirectory(candidate))
            return candidate;
    }
    return {};
}

QByteArray ExistingPreviewDirectory()
{
    for (const QByteArray& candidate : { ProgramPreviewDirectory(), CachePreviewDirectory() }) {
        if (!candidate.isEmpty() && IsWritableDirectory(candidate))
            return candidate;
    }
    return {};
}

void DeletePreviewFiles(const QByteArray& directory)
{
    if (directory.isEmpty())
        return;
    QDir folder(QFile::decodeName(directory));
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    // Removing a name needs no write permission on the file itself, so read-only files go too;
    // a link goes as a link, and nothing it points to is touched.
    for (const QString& name : files)
        QFile::remove(folder.filePath(name));
}
