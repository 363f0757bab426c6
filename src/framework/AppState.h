#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// A run-long list of recently entered values, newest first. Never saved.
class History
{
public:
    History() = default;
    History(std::initializer_list<QByteArray> entries)
        : m_entries(entries)
    {
    }

    const std::vector<QByteArray>& Entries() const { return m_entries; }
    bool IsEmpty() const { return m_entries.empty(); }

    // Puts value in front unless it already is the newest entry (exact comparison). Older equal
    // entries stay.
    void AddFront(const QByteArray& value);

private:
    std::vector<QByteArray> m_entries;
};

// The program-wide state that pages and outputs read below the application layer. The
// application fills it at start-up and writes the browser settings back at exit.
struct AppState
{
    History UrlHistory;
    History FontFamilyHistory;
    QByteArray browserCommand;
    std::int32_t browserLocal = 0;
    QByteArray startupClassPath;
    // Whether the notice that the modern box sends no e-mail is shown.
    bool showMailNotice = true;
    // The open project's file, empty while it has none: a relative site folder lies beside it.
    QByteArray projectPath;
};

// The one state of this run.
AppState& CurrentAppState();
