#pragma once

#include "model/LockEntry.h"

#include <QByteArrayView>

#include <cstdint>
#include <vector>

// How many lock records ProjectArchive::TakeRecords hands out in one part: enough that a part is
// worth a thread's while, few enough that the threads share a large list evenly.
constexpr std::int32_t kLockRecordsPerPart = 4096;

// Reads the lock records that TakeRecords handed out in parts of kLockRecordsPerPart into locks,
// which holds a lock for each record. Many parts are read on several threads at once. Throws what
// reading throws (std::bad_alloc), once every thread is done.
void ReadLockRecords(const std::vector<QByteArrayView>& parts, std::vector<LockEntry>& locks);
