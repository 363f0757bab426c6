#pragma once

#include <QByteArray>

class Doc;

// The applet's PARAM lines for a project: one line per value that differs from its project
// default, in the applet's fixed order, then the lock lines or the lock input file's name. Every
// line ends in CR LF. Computed from the document each time.
QByteArray BuildParameterBlock(const Doc& doc);

// Every double quote replaced by two apostrophes, the applet's convention for quotes in messages.
QByteArray EscapeQuotes(const QByteArray& text);

// Every "&" that starts a decimal character reference ("&#" and a digit) written as "&amp", so the
// applet receives the reference as typed instead of the character the browser would decode.
QByteArray EscapeCharacterReferences(const QByteArray& text);

// Every "&" written as "&amp;", which a browser hands on as "&" whatever follows it.
QByteArray EscapeAmpersands(const QByteArray& text);

// A value placed inside a double-quoted attribute: a double quote, which would end the attribute
// early, is written as "&quot;", which the browser hands to the applet as the quote itself.
QByteArray EscapeAttributeQuotes(const QByteArray& text);
