#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

// The program's settings: the one store, named here, and each key with its type and default.
// The store is Qt's native one for the user, organisation "Velto", application the product's name.
namespace ProgramSettings {

inline constexpr char kOrganisation[] = "Velto";
// The product's name from the program information, which also names the user's folders.
QString ApplicationName();

// The store; open one for each use, so that every write is seen by the next read.
QSettings Store();

// One value of the store: its key, its type and what it reads as while it was never written.
template<class T> class Setting
{
public:
    Setting(const char* key, T fallback)
        : m_key(key)
        , m_fallback(std::move(fallback))
    {
    }

    T Get() const
    {
        return Store()
            .value(QLatin1String(m_key), QVariant::fromValue(m_fallback))
            .template value<T>();
    }
    void Set(const T& value) const
    {
        Store().setValue(QLatin1String(m_key), QVariant::fromValue(value));
    }

private:
    const char* m_key;
    T m_fallback;
};

// The kind of login box a new project starts with ("classic", "modern" or "both"): the kind last
// chosen on the Generate page. Each project keeps its own kind.
inline const Setting<QString> kNewProjectBoxKind { "Options/BoxKind", QStringLiteral("modern") };

// The recent project files, most recent first: slots "Recent File List/File1" to "File<count>",
// empty slots skipped.
QStringList RecentFiles(int count);
// Replaces every slot with files, in order.
void SetRecentFiles(const QStringList& files);

} // namespace ProgramSettings
