#pragma once

#include <QString>

class QObject;

// A library of the program's own, loaded by name only when it is first needed: the program then
// starts without what the library links (Qt WebEngine, Qt Multimedia) and runs, without that
// feature, where it is missing.
class ProgramPlugin
{
public:
    // name: the library's name without prefix or suffix ("zarnith_audio").
    explicit ProgramPlugin(QString name);

    QString Name() const { return m_name; }
    // Looks for another library from now on; an absolute path is looked for there only.
    void SetName(const QString& name) { m_name = name; }

    // The plugin's root object, looked for beside the program first, then on the library path;
    // nullptr when there is none. A loaded library stays loaded for the rest of the run.
    QObject* Instance() const;

private:
    QString m_name;
};
