#pragma once

#include <QByteArray>

#include <cstddef>
#include <optional>

class Doc;
class LockEntry;
struct LockField;

// The check that every lock can be read back by the login box. A lock is one line of "|"
// separated fields: a control character (below 0x20, or 0x7F) in any field breaks the line, and a
// "|" in the user ID, password or target shifts the fields after it, so that a shorter
// credential opens the lock and the real password lands in the URL.

// The first field of lock the login box cannot read back; null when every field reads back.
const LockField* UnreadableField(const LockEntry& lock);

struct UnreadableLock
{
    std::size_t index;
    const LockField* field;
};

// The first lock of the project that the login box cannot read back.
std::optional<UnreadableLock> FindUnreadableLock(const Doc& doc);

// Passwords shorter than this are among the first that anyone who copies the modern box's lock
// data tries; the program warns about them but takes them.
inline constexpr int kShortPasswordLength = 8;

// Whether password (as held) has fewer than kShortPasswordLength characters.
bool IsShortPassword(const QByteArray& password);

// How many locks of doc have a short password.
int CountShortPasswords(const Doc& doc);

// A lock as messages name it: its number counted from 1 and, where it can be shown on one line,
// its user ID in quotes.
QByteArray LockName(const Doc& doc, std::size_t index);

// The program's message for it, naming the lock by its number counted from 1 and, where it can be
// shown on one line, its user ID, and the field by the name the user knows it by.
QByteArray UnreadableLockMessage(const Doc& doc, const UnreadableLock& problem);
