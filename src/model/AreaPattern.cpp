#include "model/AreaPattern.h"

#include <QByteArrayList>

namespace {

constexpr char kAnyFolders[] = "**";

// One file or folder name against one part of a pattern: "*" any run, "?" one character. Greedy
// with a single backtrack point, so that long names cost linear time.
bool NameMatches(const QByteArray& pattern, const QByteArray& name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// The parts from pattern index p on against the path's parts from n on. "**" tries every number of
// folders; the table of lost pairs keeps that from growing beyond parts × parts.
bool PartsMatch(const QByteArrayList& pattern, qsizetype p, const QByteArrayList& path, qsizetype n,
    std::vector<char>& lost)
{
    char& known = lost[std::size_t(p * (path.size() + 1) + n)];
    if (known)
        return false;
    bool matched = false;
    if (p == pattern.size())
        matched = n == path.size();
    else if (pattern[p] == kAnyFolders && p + 1 == pattern.size())
        matched = n < path.size(); // a closing "**" holds at least the file itself
    else if (pattern[p] == kAnyFolders)
        matched = PartsMatch(pattern, p + 1, path, n, lost)
            || (n < path.size() && PartsMatch(pattern, p, path, n + 1, lost));
    else
        matched = n < path.size() && NameMatches(pattern[p], path[n])
            && PartsMatch(pattern, p + 1, path, n + 1, lost);
    known = !matched;
    return matched;
}

} // namespace

std::optional<QByteArray> AreaPatternProblem(const QByteArray& pattern)
{
    if (pattern.trimmed().isEmpty())
        return QByteArray("a pattern must not be empty");
    if (pattern.startsWith('/') || (pattern.size() > 1 && pattern[1] == ':'))
        return "\"" + pattern + "\" must be relative to the site folder";
    if (pattern.contains('\\'))
        return "\"" + pattern + "\" must use / between folders";
    for (const QByteArray& part : pattern.split('/')) {
        if (part.isEmpty() || part == "." || part == "..")
            return "\"" + pattern + "\" must name files inside the site folder";
    }
    return std::nullopt;
}

bool AreaPatternMatches(const QByteArray& pattern, const QByteArray& path)
{
    if (AreaPatternProblem(pattern))
        return false;
    const QByteArrayList patternParts = pattern.split('/');
    const QByteArrayList pathParts = path.split('/');
    std::vector<char> lost(std::size_t((patternParts.size() + 1) * (pathParts.size() + 1)), 0);
    return PartsMatch(patternParts, 0, pathParts, 0, lost);
}
