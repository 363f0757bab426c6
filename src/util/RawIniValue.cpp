#include "util/RawIniValue.h"

#include <QFile>
#include <QSaveFile>

namespace {

// Where a line's text lies in the INI text, without its line end.
struct LineSpan
{
    qsizetype start = -1;
    qsizetype length = 0;
};

struct KeyLine
{
    LineSpan sectionHeader;
    LineSpan keyLine;
};

QByteArray Trimmed(QByteArray text)
{
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.chop(1);
    qsizetype first = 0;
    while (first < text.size() && (text[first] == ' ' || text[first] == '\t'))
        ++first;
    return text.mid(first);
}

// The header of [section] and, within it, the key's line; either is missing when start is -1.
KeyLine LocateKey(const QByteArray& ini, const QByteArray& section, const QByteArray& key)
{
    KeyLine found;
    bool inSection = false;
    for (qsizetype start = 0; start < ini.size();) {
        qsizetype end = ini.indexOf('\n', start);
        if (end < 0)
            end = ini.size();
        const LineSpan span { start, end - start };
        const QByteArray line = Trimmed(ini.mid(start, span.length));
        start = end + 1;
        if (line.startsWith('[')) {
            inSection = line.endsWith(']') && line.mid(1, line.size() - 2) == section;
            if (inSection && found.sectionHeader.start < 0)
                found.sectionHeader = span;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (inSection && equals > 0 && Trimmed(line.left(equals)) == key) {
            found.keyLine = span;
            return found;
        }
    }
    return found;
}

} // namespace

std::optional<QByteArray> FindRawIniValue(
    const QByteArray& ini, const QByteArray& section, const QByteArray& key)
{
    const LineSpan line = LocateKey(ini, section, key).keyLine;
    if (line.start < 0)
        return std::nullopt;
    const QByteArray text = ini.mid(line.start, line.length);
    return Trimmed(text.mid(text.indexOf('=') + 1));
}

QByteArray WithRawIniValue(const QByteArray& ini, const QByteArray& section, const QByteArray& key,
    const QByteArray& value)
{
    const QByteArray keyLine = key + '=' + value;
    const KeyLine found = LocateKey(ini, section, key);
    QByteArray result = ini;
    if (found.keyLine.start >= 0) {
        // A line that ended in CR LF keeps its CR.
        const bool carriageReturn = found.keyLine.length > 0
            && ini[found.keyLine.start + found.keyLine.length - 1] == '\r';
        result.replace(
            found.keyLine.start, found.keyLine.length, carriageReturn ? keyLine + '\r' : keyLine);
    } else if (found.sectionHeader.start >= 0) {
        const qsizetype afterHeader = found.sectionHeader.start + found.sectionHeader.length;
        result.insert(afterHeader, '\n' + keyLine);
    } else {
        if (!result.isEmpty() && !result.endsWith('\n'))
            result += '\n';
        result += '[' + section + "]\n" + keyLine + '\n';
    }
    return result;
}

std::optional<QByteArray> ReadRawIniValue(
    const QString& path, const QByteArray& section, const QByteArray& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return FindRawIniValue(file.readAll(), section, key);
}

bool WriteRawIniValue(
    const QString& path, const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    QByteArray ini;
    if (QFile file(path); file.open(QIODevice::ReadOnly))
        ini = file.readAll();
    if (FindRawIniValue(ini, section, key) == value)
        return true;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly)
        && file.write(WithRawIniValue(ini, section, key, value)) >= 0 && file.commit();
}
