#pragma once

#include <QByteArray>
#include <QString>

// The one text form of a user ID or password before a key is derived from it, shared with the
// modern box's script so that no library's or browser's Unicode version decides who gets in:
// Unicode normalisation form C, then, when case is ignored, every code point through one frozen
// upper-case table (resources/unicode/upper-case.txt, Unicode 15.0's full mapping, "ß" becomes
// "SS"). The result is not normalised again.
QString SecretTextForm(const QString& text, bool foldCase);

// The frozen table's upper case of one code point: the code point itself when it has none.
QString FrozenUpperCase(char32_t code);

// The same table as the box's script reads it: the JSON object
//   {"runs":[FIRST,COUNT,STEP,DELTA,...],"multi":[[CODE,[CODE,...]],...]}
// where the COUNT code points FIRST, FIRST + STEP, ... map to themselves + DELTA and each CODE
// of "multi" maps to several code points.
QByteArray FrozenUpperCaseJson();
