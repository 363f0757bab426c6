#include "util/TextUtil.h"

QByteArray UnescapeLineBreaks(const QByteArray& stored)
{
    QByteArray display;
    display.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\\' && i + 1 < stored.size() && stored[i + 1] == 'n') {
            display += "\r\n";
            ++i;
        } else {
            display += stored[i];
        }
    }
    return display;
}

QByteArray EscapeLineBreaks(const QByteArray& display)
{
    QByteArray stored;
    stored.reserve(display.size());
    for (char ch : display) {
        if (ch == '\n')
            stored += "\\n";
        else if (ch != '\r')
            stored += ch;
    }
    return stored;
}
