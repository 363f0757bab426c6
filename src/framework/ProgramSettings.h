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

// Whether the browser the preview starts is handed local paths (1) rather than file URLs (0).
inline const Setting<int> kBrowserLocal { "Options/BrowserLocal", 0 };

// The kind of login box a new project starts with ("classic", "modern" or "both"): the kind last
// chosen on the Generate page. Each project keeps its own kind.
inline const Setting<QString> kNewProjectBoxKind { "Options/BoxKind", QStringLiteral("modern") };
// Whether the notice that the modern box sends no e-mail is still shown.
inline const Setting<bool> kModernBoxMailNotice { "Options/ModernBoxMailNotice", true };

// The browser command the preview starts (empty: the desktop's own browser), "Options/Browser",
// kept as typed into the file: its commas, quotes and semicolons are the command's own.
QByteArray BrowserCommand();
// Writes the command as it stands; call it after any typed setting is written, since the store
// rewrites the whole file in its own form.
void SetBrowserCommand(const QByteArray& command);

// The recent project files, most recent first: slots "Recent File List/File1" to "File<count>",
// empty slots skipped.
QStringList RecentFiles(int count);
// Replaces every slot with files, in order.
void SetRecentFiles(const QStringList& files);

} // namespace ProgramSettings
