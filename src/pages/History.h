#pragma once

#include <QByteArray>

#include <initializer_list>
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

// The lists that several pages and dialogs share for the whole run; the application owns them.
struct Histories
{
    // The URLs offered by Lock Properties and the Responses page.
    History UrlHistory;
    // The font families offered by the Font dialog.
    History FontFamilyHistory;
};
