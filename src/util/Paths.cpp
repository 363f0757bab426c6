#include "util/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

bool IsWhiteSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

QByteArray TrimRight(QByteArray text)
{
    while (!text.isEmpty() && IsWhiteSpace(text.back()))
        text.chop(1);
    return text;
}

QByteArray TrimLeft(const QByteArray& text)
{
    qsizetype start = 0;
    while (start < text.size() && IsWhiteSpace(text[start]))
        ++start;
    return text.mid(start);
}

// Absolute and without "." and ".." parts; a trailing separator is kept, since it says the path
// names a folder.
QByteArray MakeAbsolute(const QByteArray& path)
{
    const QString absolute
        = QDir::cleanPath(QDir::current().absoluteFilePath(QFile::decodeName(path)));
    QByteArray result = QFile::encodeName(absolute);
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
    QByteArray result = TrimRight(directory);
    const QByteArray sub = TrimLeft(subdirectory);
    if (!sub.isEmpty() && !sub.startsWith('/')) {
        if (!result.endsWith('/'))
            result += '/';
        result += sub;
    }
    result = TrimRight(result);
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
