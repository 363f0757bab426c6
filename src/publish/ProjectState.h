#pragma once

#include "generate/LockKeyCache.h"

#include <QByteArray>

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
    };
    MadeLockData lastLockData;
    // Whether the project has had the notice that the modern box sends no e-mail.
    bool mailNoticeShown = false;
};
