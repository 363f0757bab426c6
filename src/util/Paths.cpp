#include "util/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>

namespace {

// Absolute and without "." and ".." parts, as the system's full-path call makes it: ".." at the
// root stays at the root, and the bytes of every name are kept as they are (a round trip through
// QString would replace those that are not valid in the locale's encoding). A trailing separator
// is kept, since it says the path names a folder.
QByteArray MakeAbsolute(const QByteArray& path)
{
    const QByteArray full
        = path.startsWith('/') ? path : QFile::encodeName(QDir::currentPath()) + '/' + path;
    QList<QByteArray> names;
    for (const QByteArray& name : full.split('/')) {
        if (name.isEmpty() || name == ".")
            continue;
        if (name == "..") {
            if (!names.isEmpty())
                names.removeLast();
            continue;
        }
        names.append(name);
    }
    QByteArray result = '/' + names.join('/');
    if (path.endsWith('/') && !result.endsWith('/'))
        result += '/';
    return result;
}

} // namespace

QByteArray ProgramDirectory()
{
    return QFile::encodeName(QCoreApplication::applicationDirPath()) + '/';
}

QByteArray ResolveProgramPath(const QByteArray& path)
{
    if (path.isEmpty())
        return path;
    if (path.size() >= 2 && (path[0] == '/' || path[0] == '\\' || path[1] == ':'))
        return path;
    return MakeAbsolute(ProgramDirectory() + path);
}

QByteArray JoinFullPath(
    const QByteArray& directory, const QByteArray& subdirectory, const QByteArray& name)
{
    QByteArray result = directory;
    if (!subdirectory.isEmpty() && !subdirectory.startsWith('/')) {
        if (!result.endsWith('/'))
            result += '/';
        result += subdirectory;
    }
    if (!result.endsWith('/'))
        result += '/';
    return MakeAbsolute(result + name);
}

QByteArray FileNamePart(const QByteArray& path)
{
    qsizetype start = 0;
    if (path.size() >= 2 && path[1] == ':')
        start = 2;
    for (qsizetype i = start; i < path.size(); ++i) {
        if (path[i] == '/' || path[i] == '\\')
            start = i + 1;
    }
    return path.mid(start);
}

bool IsFileName(const QByteArray& name)
{
    return !name.isEmpty() && name != "." && name != ".." && FileNamePart(name) == name;
}
