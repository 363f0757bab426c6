#include "generate/LockLines.h"

#include "generate/TableCipher.h"
#include "model/Doc.h"

namespace {

QByteArray BlankIfEmpty(const QByteArray& field)
{
    return field.isEmpty() ? QByteArray(" ") : field;
}

} // namespace

QByteArray LockRecord(const LockEntry& lock)
{
    const QByteArray password = BlankIfEmpty(lock.password);
    const QByteArray target = BlankIfEmpty(lock.target);
    QByteArray record;
    record.reserve(lock.userId.size() + password.size() + lock.url.size() + target.size() + 3);
    record.append(lock.userId).append('|').append(password).append('|');
    record.append(lock.url).append('|').append(target);
    return record;
}

QByteArray ScrambleText(const Doc& doc, const QByteArray& text)
{
    if (doc.encrypt == 0)
        return text;
    return TableCipher::WithFixedKey().Encipher(text);
}

QByteArray BuildLockLines(const Doc& doc, bool forFile)
{
    QByteArray lines;
    for (std::size_t i = 0; i < doc.locks.size(); ++i) {
        const QByteArray number = QByteArray::number(qulonglong(i));
        const QByteArray record = ScrambleText(doc, LockRecord(doc.locks[i]));
        if (forFile)
            lines.append("Lock").append(number).append('=').append(record);
        else
            lines.append("<PARAM NAME=Lock")
                .append(number)
                .append(" VALUE=\"")
                .append(record)
                .append("\">");
        lines.append("\r\n");
    }
    return forFile ? EscapeBackslashes(lines) : lines;
}

QByteArray EscapeBackslashes(const QByteArray& text)
{
    QByteArray escaped;
    escaped.reserve(text.size() + text.count('\\'));
    for (char ch : text) {
        escaped += ch;
        if (ch == '\\')
            escaped += '\\';
    }
    return escaped;
}
