#include "generate/LockLines.h"

#include "generate/TableCipher.h"
#include "model/Doc.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

// Builds a text through a raw pointer with geometric growth: a hundred thousand lock lines made
// of QByteArray::append calls cost several times more than the scrambling itself.
class TextWriter
{
public:
    qsizetype Size() const { return m_size; }
    char* At(qsizetype offset) { return m_text.data() + offset; }

    void Append(const char* data, qsizetype size)
    {
        Reserve(size);
        std::memcpy(m_text.data() + m_size, data, size);
        m_size += size;
    }
    void Append(const QByteArray& text) { Append(text.constData(), text.size()); }
    void Append(char ch) { Append(&ch, 1); }
    template<std::size_t N> void Append(const char (&literal)[N]) { Append(literal, N - 1); }

    void AppendNumber(std::size_t number)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        Append(digits, end - digits);
    }

    // Replaces every ch from offset to the end by replacement, in place.
    template<std::size_t N>
    void ReplaceFrom(qsizetype offset, char ch, const char (&replacement)[N])
    {
        constexpr qsizetype length = N - 1;
        // Most texts hold no ch at all, and memchr finds that out faster than counting.
        if (!std::memchr(At(offset), ch, m_size - offset))
            return;
        const qsizetype extra = std::count(At(offset), At(m_size), ch) * (length - 1);
        if (extra == 0)
            return;
        Reserve(extra);
        char* from = At(m_size);
        char* to = At(m_size + extra);
        while (from != to) {
            const char current = *--from;
            if (current == ch) {
                to -= length;
                std::memcpy(to, replacement, length);
            } else {
                *--to = current;
            }
        }
        m_size += extra;
    }

    QByteArray Take()
    {
        m_text.resize(m_size);
        return std::move(m_text);
    }

private:
    void Reserve(qsizetype size)
    {
        if (m_size + size > m_text.size())
            m_text.resize(std::max(m_text.size() * 2, m_size + size + 256));
    }

    QByteArray m_text;
    qsizetype m_size = 0;
};

void AppendLockRecord(TextWriter& out, const LockEntry& lock)
{
    out.Append(lock.userId);
    out.Append('|');
    if (lock.password.isEmpty())
        out.Append(' ');
    else
        out.Append(lock.password);
    out.Append('|');
    out.Append(lock.url);
    out.Append('|');
    if (lock.target.isEmpty())
        out.Append(' ');
    else
        out.Append(lock.target);
}

} // namespace

QByteArray LockRecord(const LockEntry& lock)
{
    TextWriter record;
    AppendLockRecord(record, lock);
    return record.Take();
}

QByteArray ScrambleText(const Doc& doc, const QByteArray& text)
{
    if (!doc.ScramblesLocks())
        return text;
    QByteArray scrambled = text;
    TableCipher::ScrambleInPlace(scrambled.data(), scrambled.size());
    return scrambled;
}

QByteArray BuildLockLines(const Doc& doc, bool forFile)
{
    const bool scramble = doc.ScramblesLocks();
    // Doubling backslashes record by record equals doubling them in the whole text, since nothing
    // else in a line holds one; it happens after scrambling, as the applet expects. In the page a
    // double quote would end the attribute and lose the lock, and a browser decodes references
    // such as "&lt/" or "&gt+" even without their ";", which scrambled text hits by chance: "&"
    // and the quote are written as "&amp;" and "&quot;", which the browser hands to the applet as
    // the characters themselves.
    TextWriter lines;
    for (std::size_t i = 0; i < doc.locks.size(); ++i) {
        if (forFile)
            lines.Append("Lock");
        else
            lines.Append("<PARAM NAME=Lock");
        lines.AppendNumber(i);
        if (forFile)
            lines.Append("=");
        else
            lines.Append(" VALUE=\"");
        const qsizetype recordStart = lines.Size();
        AppendLockRecord(lines, doc.locks[i]);
        if (scramble)
            TableCipher::ScrambleInPlace(lines.At(recordStart), lines.Size() - recordStart);
        if (forFile) {
            lines.ReplaceFrom(recordStart, '\\', "\\\\");
        } else {
            lines.ReplaceFrom(recordStart, '&', "&amp;");
            lines.ReplaceFrom(recordStart, '"', "&quot;");
            lines.Append("\">");
        }
        lines.Append("\r\n");
    }
    return lines.Take();
}

QByteArray EscapeBackslashes(const QByteArray& text)
{
    TextWriter escaped;
    escaped.Append(text);
    escaped.ReplaceFrom(0, '\\', "\\\\");
    return escaped.Take();
}
