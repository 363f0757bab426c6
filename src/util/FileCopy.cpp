#include "util/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Copies through memory, asking keepGoing after every chunk's worth of blocks.
bool CopyThroughMemory(QIODevice& source, QIODevice& target, const CopyContinue& keepGoing)
{
    char block[CopyBlockSize];
    qint64 sinceAsked = 0;
    for (;;) {
        const qint64 count = source.read(block, CopyBlockSize);
        if (count == 0)
            return true;
        if (count < 0 || target.write(block, count) != count)
            return false;
        sinceAsked += count;
        if (sinceAsked >= CopyChunkSize) {
            sinceAsked = 0;
            if (keepGoing && !keepGoing())
                return false;
        }
    }
}

// What a direct copy by the kernel came to.
enum class KernelCopy { Done, Failed, Unsupported };

KernelCopy CopyInKernel(QFileDevice& source, QFileDevice& target, const CopyContinue& keepGoing)
{
#ifdef Q_OS_LINUX
    loff_t from = source.pos();
    loff_t to = target.pos();
    qint64 sinceAsked = 0;
    for (bool first = true;; first = false) {
        const ssize_t count
            = ::copy_file_range(source.handle(), &from, target.handle(), &to, CopyChunkSize, 0);
        if (count < 0) {
            // Kernels and file systems that cannot copy between these two files say so at once.
            const bool unsupported = errno == ENOSYS || errno == EXDEV || errno == EOPNOTSUPP
                || errno == EINVAL || errno == EPERM || errno == EBADF;
            return first && unsupported ? KernelCopy::Unsupported : KernelCopy::Failed;
        }
        if (count == 0) {
            // Some file systems report nothing to copy for files that do hold bytes.
            if (first)
                return KernelCopy::Unsupported;
            break;
        }
        sinceAsked += count;
        if (sinceAsked >= CopyChunkSize) {
            sinceAsked = 0;
            if (keepGoing && !keepGoing())
                return KernelCopy::Failed;
        }
    }
    // The devices' own positions follow the bytes copied behind their backs.
    return source.seek(from) && target.seek(to) ? KernelCopy::Done : KernelCopy::Failed;
#else
    Q_UNUSED(source);
    Q_UNUSED(target);
    Q_UNUSED(keepGoing);
    return KernelCopy::Unsupported;
#endif
}

} // namespace

bool CreateSiblingFile(const QString& path, QFile& file)
{
    const QFileInfo info(path);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name
            = QStringLiteral(".%1.%2")
                  .arg(info.fileName())
                  .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        file.setFileName(info.dir().filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        if (!file.exists())
            return false; // the folder cannot be written
    }
    return false;
}

bool MoveOver(const QString& from, const QString& destination)
{
    return std::rename(
               QFile::encodeName(from).constData(), QFile::encodeName(destination).constData())
        == 0;
}

bool CopyBlocks(QIODevice& source, QIODevice& target)
{
    return CopyThroughMemory(source, target, {});
}

bool CopyFileData(QFileDevice& source, QFileDevice& target, const CopyContinue& keepGoing)
{
    if (!target.flush())
        return false;
    switch (CopyInKernel(source, target, keepGoing)) {
    case KernelCopy::Done:
        return true;
    case KernelCopy::Failed:
        return false;
    case KernelCopy::Unsupported:
        break;
    }
    return CopyThroughMemory(source, target, keepGoing);
}

bool IsRegularFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

bool IsSameFile(const QString& first, const QString& second)
{
#ifdef Q_OS_UNIX
    struct stat one;
    struct stat other;
    return ::stat(QFile::encodeName(first).constData(), &one) == 0
        && ::stat(QFile::encodeName(second).constData(), &other) == 0 && one.st_dev == other.st_dev
        && one.st_ino == other.st_ino;
#else
    const QString canonical = QFileInfo(first).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(second).canonicalFilePath();
#endif
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

bool CopyFileToNewFile(
    const QString& source, const QString& destination, const CopyContinue& keepGoing)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    QFile target(destination);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return false;
    bool ok = CopyFileData(input, target, keepGoing);
    target.close();
    ok = ok && target.error() == QFileDevice::NoError;
    if (!ok)
        target.remove();
    return ok;
}

bool CopyFileOver(const QString& source, const QString& destination, const CopyContinue& keepGoing)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    // Renaming a finished copy over the destination replaces whatever is there, a link itself
    // rather than its target, in one step.
    QFile copy;
    if (!CreateSiblingFile(destination, copy))
        return false;
    bool ok = CopyFileData(input, copy, keepGoing);
    copy.close();
    ok = ok && copy.error() == QFileDevice::NoError && MoveOver(copy.fileName(), destination);
    if (!ok)
        copy.remove();
    return ok;
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
    if (to.isSymLink() || !to.isFile())
        return false;
    if (IsSameFile(source, destination))
        return true;
    return FileCreationTime(to) >= from.lastModified();
}
