// A project with many distinct locks, for the benchmarks of the window's pages.
#pragma once

#include "model/Doc.h"

inline void FillLocks(Doc& doc, int count)
{
    doc.ResetProject();
    doc.locks.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        LockEntry lock;
        lock.userId = "user" + QByteArray::number(i);
        lock.password = "secret" + QByteArray::number(i * 7919);
        lock.url = "http://example.com/members/page" + QByteArray::number(i) + ".html";
        lock.target = "_top";
        doc.locks.push_back(lock);
    }
    doc.LocksChanged();
}
