#include "generate/ResourceList.h"

#include "model/Doc.h"
#include "util/Paths.h"

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
