#include "framework/ProgramPlugin.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

namespace {

QObject* LoadInstance(const QString& fileName)
{
    // The loader keeps the library loaded for the rest of the run; what it made outlives it.
    QPluginLoader loader(fileName);
    return loader.instance();
}

} // namespace

ProgramPlugin::ProgramPlugin(QString name)
    : m_name(std::move(name))
{
}

QObject* ProgramPlugin::Instance() const
{
    if (QDir::isAbsolutePath(m_name))
        return LoadInstance(m_name);
    if (QObject* beside
        = LoadInstance(QDir(QCoreApplication::applicationDirPath()).filePath(m_name)))
        return beside;
    return LoadInstance(m_name);
}
