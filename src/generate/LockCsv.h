#pragma once

#include "model/LockEntry.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstddef>
#include <variant>
#include <vector>

class Doc;

// The lock list as a spreadsheet keeps it: comma-separated values with a header row that names
// the columns, one member per row.

// A column of the file: its name in the header, how a lock's value is written, and how a cell is
// taken into a lock (false, with a full-sentence reason, for a cell the lock cannot hold).
struct LockCsvColumn
{
    const char* name;
    QByteArray (*write)(const Doc& doc, const LockEntry& lock);
    bool (*read)(const Doc& doc, LockEntry& lock, const QByteArray& cell, QByteArray& reason);
};

// Every column, in the order an export writes them.
const std::vector<LockCsvColumn>& LockCsvColumns();

// Every lock of doc as CSV: UTF-8 with a byte-order mark (so spreadsheet programs take it as
// UTF-8), CR LF line ends, the header, then one row per lock. A text that is not UTF-8 (8-bit
// text of a Windows code page) is written as the characters the window shows for it, in UTF-8.
QByteArray LocksToCsv(const Doc& doc);

// A CSV file read against a project and checked whole, not yet applied.
struct LockImport
{
    // The lock list after the import.
    std::vector<LockEntry> locks;
    // Where in locks the members named by the file ended, each once, in the file's order.
    std::vector<std::size_t> imported;
    int added = 0;
    int updated = 0;
};

// Why a file was refused: the line and the program's message.
struct LockImportRefusal
{
    int line;
    QByteArray reason;

    // "Line N: reason".
    QByteArray Message() const;
};

// Reads csv (UTF-8 with or without a byte-order mark; CR LF, LF or CR line ends) against doc.
// The first row that is not empty names the columns, in any order (case is ignored); userId must
// be one of them. Each later row adds a lock after the list, or, when a lock with its user ID is
// already there (compared as the login box compares, folding case when the project ignores it),
// updates that lock's named columns. With replace, the list starts empty. Rows whose cells are all
// empty are skipped. A row with fewer cells than the header, or with more that are not empty, a
// resulting lock without user ID or URL, or one the login box could not read, refuses the whole
// file.
std::variant<LockImport, LockImportRefusal> ReadLockImport(
    const Doc& doc, QByteArrayView csv, bool replace);

// The imported members whose password is empty.
int CountEmptyPasswords(const LockImport& import);

// Gives every imported member whose password is empty a random password; returns how many.
int GeneratePasswords(LockImport& import);

// Twelve characters drawn evenly, from the system's cryptographic random source, from an alphabet
// without look-alikes (no 0, O, o, 1, l, I or i): about 69 bits.
QByteArray RandomPassword();
