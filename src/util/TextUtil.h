#pragma once

#include <QByteArray>

// The project keeps multi-line messages on one line, each line break as backslash + "n";
// edit controls show them with CR LF.

// Stored form to display form: every backslash followed by "n" becomes CR LF.
QByteArray UnescapeLineBreaks(const QByteArray& stored);

// Display form to stored form: CR is dropped and LF becomes backslash + "n".
QByteArray EscapeLineBreaks(const QByteArray& display);
