#pragma once

#include <QByteArray>

#include <cstddef>
#include <optional>

class Doc;

// What the modern box may follow and fetch. A lock URL or fail URL that ran as script in the
// page ("javascript:...") or a file name that reached another site ("http:host?x.txt") would
// hand the page to whoever wrote the project or the lock file.

// Whether the modern box follows address: relative to the page (no scheme) or http: / https:,
// the scheme read as a browser reads it (blanks and control characters at either end, and tabs
// and line breaks inside, do not count).
bool IsWebAddress(const QByteArray& address);

// Whether the modern box fetches a file by this name beside the page: not empty, not "." or "..",
// and none of / \ : ? # %.
bool IsPlainFileName(const QByteArray& name);

// The program's refusal of a typed address the modern box would not follow, or of a typed path
// whose file name it would not fetch (an empty path names no file); nothing when it takes it.
std::optional<QByteArray> WebAddressRefusal(const QByteArray& address);
std::optional<QByteArray> FileNameRefusal(const QByteArray& path);

// The program's message for the first lock URL, fail URL, lock file name or sound name of doc
// that the modern box would refuse; nothing when it refuses none.
std::optional<QByteArray> ModernBoxRefusal(const Doc& doc);
// The same where the locks' part is known: lockNotWebAddress is what FindLockNotWebAddress gives
// for doc's locks (kept by a caller while they stay the same).
std::optional<QByteArray> ModernBoxRefusal(
    const Doc& doc, std::optional<std::size_t> lockNotWebAddress);

// The index of the first lock of doc whose URL the modern box would not follow.
std::optional<std::size_t> FindLockNotWebAddress(const Doc& doc);
