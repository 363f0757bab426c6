#pragma once

#include "generate/LockData.h"
#include "generate/LockKeyCache.h"
#include "model/BoxKind.h"
#include "util/ProgramInfo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
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
    ProgramInfo programInfo;
    // Whether the notice that the modern box sends no e-mail is shown.
    bool showMailNotice = true;
    // The open project's derived lock keys, and whether it has had the e-mail notice; both start
    // over with each project (StartProject).
    LockKeyCache lockKeys;
    bool mailNoticeShown = false;
    // The open project's file, empty while it has none: a relative site folder lies beside it.
    QByteArray projectPath;
    // The lock data made last and what it was made from (salt, count, folding and every lock):
    // outputs after an edit that left the locks alone reuse it instead of encrypting again.
    // Equal data under an equal key and iv gives away nothing new.
    struct MadeLockData
    {
        QByteArray source;
        QByteArray lockData;
    };
    MadeLockData lastLockData;
    // Set by the main frame to show a text in its status bar.
    std::function<void(const QString&)> statusTextSink;

    // Shows text in the status bar; nothing while there is no frame.
    void ShowStatusText(const QString& text) const;
    // A project was made or opened: new salt, no keys, the e-mail notice due again.
    void StartProject();
};

// The one state of this run.
AppState& CurrentAppState();
