#include "util/PreviewDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

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

} // namespace

QByteArray PreviewDirectory()
{
    const QByteArray folder = CachePreviewDirectory();
    if (folder.isEmpty() || !QDir().mkpath(QFile::decodeName(folder))
        || !IsWritableDirectory(folder))
        return {};
    return folder;
}

QByteArray ExistingPreviewDirectory()
{
    const QByteArray folder = CachePreviewDirectory();
    return !folder.isEmpty() && IsWritableDirectory(folder) ? folder : QByteArray();
}

void DeletePreviewFiles(const QByteArray& directory)
{
    if (directory.isEmpty())
        return;
    const QDir folder(QFile::decodeName(directory));
    const QFileInfoList entries = folder.entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    // Removing a name needs no write permission on the file itself, so read-only files go too;
    // a link goes as a link, and nothing it points to is touched.
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}
