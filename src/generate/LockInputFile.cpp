#include "generate/LockInputFile.h"

#include "generate/LockLines.h"
#include "generate/OutputFile.h"

QByteArray BuildLockInputFile(const Doc& doc)
{
    return BuildLockLines(doc, true);
}

FileResult WriteLockInputFile(const Doc& doc, const QString& path)
{
    return WriteOutputFile(path, BuildLockInputFile(doc));
}
