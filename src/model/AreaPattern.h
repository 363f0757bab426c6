#pragma once

#include <QByteArray>

#include <optional>

// The patterns that say which files of the site folder belong to a member area. A pattern is a
// path relative to the site folder with '/' between folders: "*" stands for any run of characters
// within one folder or file name, "?" for one such character, and a whole "**" part for any
// number of folders, none included ("members/**" is every file under members, "**/*.pdf" every
// PDF of the site). Matching is exact in case, as the server's file names are.

// Why a pattern cannot be used, or nothing when it can: empty, absolute ("/x", "C:x"), with a
// backslash, an empty part ("a//b", "a/") or a "." or ".." part, any of which would name files
// outside the site folder or be read differently by another system.
std::optional<QByteArray> AreaPatternProblem(const QByteArray& pattern);

// Whether path (relative to the site folder, '/' between folders) matches pattern. A pattern with
// a problem matches nothing.
bool AreaPatternMatches(const QByteArray& pattern, const QByteArray& path);
