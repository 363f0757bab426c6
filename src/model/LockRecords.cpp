#include "model/LockRecords.h"

#include "model/DocFields.h"
#include "model/ProjectArchive.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// More threads than this gain little: allocating the texts is most of the work.
constexpr unsigned kMostThreads = 4;

void ReadPart(QByteArrayView part, LockEntry* lock, LockEntry* end)
{
    RecordTexts texts(part);
    const LockEntry none;
    const LockEntry* previous = &none;
    for (; lock != end; previous = lock++) {
        for (const LockField& field : LockFields)
            lock->*field.member = texts.Next(previous->*field.member);
    }
}

} // namespace

void ReadLockRecords(const std::vector<QByteArrayView>& parts, std::vector<LockEntry>& locks)
{
    std::atomic<std::size_t> nextPart { 0 };
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto readParts = [&] {
        try {
            for (std::size_t part = nextPart++; part < parts.size(); part = nextPart++) {
                const std::size_t first = part * kLockRecordsPerPart;
                const std::size_t last = std::min(first + kLockRecordsPerPart, locks.size());
                ReadPart(parts[part], locks.data() + first, locks.data() + last);
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failureMutex);
            failure = std::current_exception();
            nextPart = parts.size();
        }
    };

    const std::size_t threadCount = std::min<std::size_t>(
        { parts.size(), std::max(1u, std::thread::hardware_concurrency()), kMostThreads });
    std::vector<std::thread> helpers;
    try {
        while (helpers.size() + 1 < threadCount)
            helpers.emplace_back(readParts);
    } catch (const std::system_error&) {
        // No more threads to be had: those there are read it all.
    }
    readParts();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}
