#pragma once

#include "generate/TableCipher.h"
#include "model/Doc.h"

#include <QByteArray>
#include <QByteArrayList>

#include <initializer_list>

// Lines joined with CR LF after each one, the way every generated text ends its lines.
inline QByteArray CrLfLines(std::initializer_list<QByteArray> lines)
{
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + "\r\n";
    return text;
}

// A generated text cut into its lines; fails the split when a line end is not CR LF.
inline QByteArrayList SplitCrLf(const QByteArray& text)
{
    QByteArrayList lines = text.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        else
            line += "<missing CR>";
    }
    return lines;
}

inline LockEntry MakeLock(const QByteArray& userId, const QByteArray& password,
    const QByteArray& url, const QByteArray& target)
{
    LockEntry lock;
    lock.userId = userId;
    lock.password = password;
    lock.url = url;
    lock.target = target;
    return lock;
}

// What a browser hands the applet for the attribute texts the generator writes.
inline QByteArray DecodeAttribute(QByteArray value)
{
    return value.replace("&amp#", "&#").replace("&quot;", "\"");
}

inline QByteArray Unscramble(const QByteArray& text)
{
    return TableCipher::WithFixedKey().Decipher(text);
}
