#pragma once

#include "generate/TableCipher.h"
#include "model/Doc.h"

#include <QByteArray>
#include <QByteArrayList>

#include <algorithm>
#include <initializer_list>
#include <utility>

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

// What a browser hands the applet for the references the generator writes: "&amp;", and "&amp"
// before "#", for "&", and "&quot;" for the quote. That a browser reads every value back as
// written, whatever other references it knows, a real browser engine checks in the GUI tests.
inline QByteArray DecodeAttribute(const QByteArray& value)
{
    static const std::pair<QByteArray, char> references[]
        = { { "&amp;", '&' }, { "&amp", '&' }, { "&quot;", '"' } };
    QByteArray out;
    for (qsizetype i = 0; i < value.size();) {
        const auto found = std::find_if(std::begin(references), std::end(references),
            [&](const auto& reference) { return value.mid(i).startsWith(reference.first); });
        out += found == std::end(references) ? value[i] : found->second;
        i += found == std::end(references) ? 1 : found->first.size();
    }
    return out;
}

inline QByteArray Unscramble(const QByteArray& text)
{
    return TableCipher::WithFixedKey().Decipher(text);
}
