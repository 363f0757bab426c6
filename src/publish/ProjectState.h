#pragma once

#include "generate/LockKeyCache.h"
#include "generate/PublishPlan.h"
#include "model/LockCheck.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <optional>

// What the window keeps about the open project beside the project itself, for as long as it is
// open: the application makes a new one for every New and Open, so nothing of it reaches the next
// project.
struct ProjectState
{
    // The project's file, empty while it has none: a relative site folder lies beside it.
    QByteArray filePath;
    // The keys derived from the project's locks, under the salt all its lock data shares.
    LockKeyCache lockKeys;
    // The lock data made last and what it was made from (salt, count, folding and every lock):
    // outputs after an edit that left the locks alone reuse it instead of encrypting again.
    // Equal data under an equal key and iv gives away nothing new.
    struct MadeLockData
    {
        QByteArray source;
        QByteArray lockData;
        // LockDataScript of lockData, made when the preview first asks for it.
        QByteArray script {};
    };
    MadeLockData lastLockData;
    // What the checks over every lock found for the locks of stamp (Doc::LocksStamp; 0 before the
    // first check): outputs after an edit that left the locks alone go by it.
    struct CheckedLocks
    {
        std::uint64_t stamp = 0;
        std::optional<UnreadableLock> unreadable;
        std::optional<std::size_t> notWebAddress;
    };
    CheckedLocks checkedLocks;
    // What the previews wrote last into the preview folder.
    WrittenFiles previewFiles;
    // Whether the project has had the notice that the modern box sends no e-mail.
    bool mailNoticeShown = false;
};
