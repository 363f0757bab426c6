#include "util/ClassPath.h"

#include <QDir>

namespace {

constexpr char kVariable[] = "CLASSPATH";

} // namespace

QByteArray CurrentClassPath()
{
    return qgetenv(kVariable);
}

void SetClassPath(const QByteArray& value)
{
    if (value.isEmpty())
        qunsetenv(kVariable);
    else
        qputenv(kVariable, value);
}

QByteArray ClassPathForProgram(
    const QByteArray& programDirectory, const QByteArray& startupClassPath)
{
    if (startupClassPath.isEmpty())
        return programDirectory;
    return programDirectory + QDir::listSeparator().toLatin1() + startupClassPath;
}
