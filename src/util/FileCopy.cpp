#include "util/FileCopy.h"

#include <QFile>
#include <QFileInfo>

bool CopyBlocks(QIODevice& source, QIODevice& target)
{
    char block[CopyBlockSize];
    for (;;) {
        const qint64 count = source.read(block, CopyBlockSize);
        if (count == 0)
            return true;
        if (count < 0 || target.write(block, count) != count)
            return false;
    }
}

bool CopyDeviceToNewFile(QIODevice& source, const QString& destination)
{
    QFile target(destination);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return false;
    bool ok = CopyBlocks(source, target);
    target.close();
    ok = ok && target.error() == QFileDevice::NoError;
    if (!ok)
        target.remove();
    return ok;
}

bool CopyFileToNewFile(const QString& source, const QString& destination)
{
    QFile input(source);
    return input.open(QIODevice::ReadOnly | QIODevice::Unbuffered)
        && CopyDeviceToNewFile(input, destination);
}

QDateTime FileCreationTime(const QFileInfo& file)
{
    const QDateTime birth = file.birthTime();
    return birth.isValid() ? birth : file.metadataChangeTime();
}

bool IsCopyUpToDate(const QString& source, const QString& destination)
{
    const QFileInfo from(source);
    const QFileInfo to(destination);
    if (!to.isFile())
        return false;
    if (from.canonicalFilePath() == to.canonicalFilePath())
        return true;
    return FileCreationTime(to) >= from.lastModified();
}
