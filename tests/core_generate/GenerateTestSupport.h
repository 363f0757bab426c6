#pragma once

#include "generate/TableCipher.h"
#include "model/Doc.h"

#include <QByteArray>
#include <QByteArrayList>

#include <cctype>
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

// What a browser hands the applet for a double-quoted attribute value, by the HTML standard's
// rules for character references in attributes: numeric references with or without ";"; the
// legacy names that need no ";" (unless a letter, a digit or "=" follows, in an attribute); and,
// of the names that need ";", the two-letter ones, which random text meets most often. A named
// reference becomes the stand-in "{name}", which is enough to tell a value that reads back
// changed; "&amp" gives "&".
inline QByteArray DecodeAttribute(const QByteArray& value)
{
    static const QByteArrayList legacy = QByteArray(
        "AElig AMP Aacute Acirc Agrave Aring Atilde Auml COPY Ccedil ETH Eacute Ecirc Egrave Euml "
        "GT Iacute Icirc Igrave Iuml LT Ntilde Oacute Ocirc Ograve Oslash Otilde Ouml QUOT REG "
        "THORN Uacute Ucirc Ugrave Uuml Yacute aacute acirc acute aelig agrave amp aring atilde "
        "auml brvbar ccedil cedil cent copy curren deg divide eacute ecirc egrave eth euml frac12 "
        "frac14 frac34 gt iacute icirc iexcl igrave iquest iuml laquo lt macr micro middot nbsp "
        "not ntilde oacute ocirc ograve ordf ordm oslash otilde ouml para plusmn pound quot raquo "
        "reg sect shy sup1 sup2 sup3 szlig thorn times uacute ucirc ugrave uml uuml yacute yen "
        "yuml")
                                             .split(' ');
    static const QByteArrayList withSemicolon = QByteArray(
        "ac af ap dd DD ee eg el gE ge gg Gg gl Gt ic ii Im in it lE le lg ll Ll Lt mp mu Mu ne "
        "ni nu Nu Or or pi Pi pm Pr pr Re rx sc Sc wp wr xi Xi")
                                                    .split(' ');
    const auto isAlnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    QByteArray out;
    for (qsizetype i = 0; i < value.size();) {
        const QByteArray rest = value.mid(i);
        if (rest.startsWith("&#")) {
            const bool hex = rest.size() > 2 && (rest[2] == 'x' || rest[2] == 'X');
            qsizetype end = hex ? 3 : 2;
            while (end < rest.size()
                && (hex ? std::isxdigit(static_cast<unsigned char>(rest[end])) != 0
                        : std::isdigit(static_cast<unsigned char>(rest[end])) != 0))
                ++end;
            const qsizetype digits = hex ? 3 : 2;
            if (end > digits) {
                const int code = rest.mid(digits, end - digits).toInt(nullptr, hex ? 16 : 10);
                out += code > 0 && code < 128 ? QByteArray(1, char(code))
                                              : "{#" + QByteArray::number(code) + "}";
                i += end + (end < rest.size() && rest[end] == ';' ? 1 : 0);
                continue;
            }
        }
        // The longest name of the table at this place, and whether ";" ends it.
        QByteArray name;
        bool terminated = false;
        if (rest.startsWith('&')) {
            for (const QByteArray& candidate : legacy) {
                if (rest.mid(1).startsWith(candidate) && candidate.size() > name.size())
                    name = candidate;
            }
            terminated = !name.isEmpty() && rest.mid(1 + name.size(), 1) == ";";
            for (const QByteArray& candidate : withSemicolon) {
                if (rest.mid(1).startsWith(candidate + ';')
                    && candidate.size() + 1 > name.size() + (terminated ? 1 : 0)) {
                    name = candidate;
                    terminated = true;
                }
            }
        }
        const char next = 1 + name.size() < rest.size() ? rest[1 + name.size()] : '\0';
        if (name.isEmpty() || (!terminated && (next == '=' || isAlnum(next)))) {
            out += rest[0];
            ++i;
            continue;
        }
        out += name.compare("amp", Qt::CaseInsensitive) == 0 ? QByteArray("&")
            : name.compare("quot", Qt::CaseInsensitive) == 0 ? QByteArray("\"")
                                                             : "{" + name + "}";
        i += 1 + name.size() + (terminated ? 1 : 0);
    }
    return out;
}

inline QByteArray Unscramble(const QByteArray& text)
{
    return TableCipher::WithFixedKey().Decipher(text);
}
