#include "generate/ResourceList.h"

#include "model/Doc.h"
#include "util/FileCopy.h"
#include "util/Paths.h"

#include <QFile>
#include <QHash>

namespace {

bool SameFile(const QByteArray& first, const QByteArray& second)
{
    return first == second || IsSameFile(QFile::decodeName(first), QFile::decodeName(second));
}

} // namespace

QByteArray AppletClassPath(const ProgramInfo& info)
{
    return ProgramDirectory() + info.internalName + ".class";
}

QList<QByteArray> AudioResources(const Doc& doc)
{
    QList<QByteArray> files;
    for (const QByteArray* audio : { &doc.correctAudio, &doc.incorrectAudio }) {
        if (!audio->isEmpty())
            files.append(*audio);
    }
    return files;
}

QList<QByteArray> GetResourceList(const Doc& doc, const ProgramInfo& info)
{
    QList<QByteArray> files { AppletClassPath(info) };
    if (doc.ReadsLocksFromFile())
        files.append(doc.lockFile);
    files.append(AudioResources(doc));
    return files;
}

QList<QByteArray> CopiedResources(const Doc& doc, const ProgramInfo& info)
{
    return QList<QByteArray> { AppletClassPath(info) } + AudioResources(doc);
}

std::optional<NameClash> FindNameClash(const QList<QByteArray>& paths)
{
    QHash<QByteArray, QByteArray> byName;
    for (const QByteArray& path : paths) {
        const QByteArray name = FileNamePart(path);
        const auto found = byName.constFind(name);
        if (found == byName.constEnd())
            byName.insert(name, path);
        else if (!SameFile(*found, path))
            return NameClash { *found, path };
    }
    return std::nullopt;
}
