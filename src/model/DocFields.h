#pragma once

#include "model/Doc.h"
#include "model/FieldControl.h"

#include <QByteArray>

#include <cstdint>
#include <variant>

// Every stored field of the project, described once: its name (also its JSON key), the member
// that holds it, its default, its place in the project file (the table's order), how a control
// edits it and what values it takes, and, where it has them, its applet parameter, its setting in
// the modern box and its part in the box's lock data. Reset, the project file, the pages, the
// parameter block, the modern box and the command line's JSON all read this table, so a field
// added here reaches each of them. publishDirectory is not stored and has no entry.

// A text default kept in the string table, loaded at each reset so a translated table changes it.
struct StringTableText
{
    int id;
};

// Not touched by a reset: the field survives New.
struct KeptOnReset
{
};

using FieldDefault = std::variant<const char*, std::int32_t, Colour, StringTableText, KeptOnReset>;

// How a field's value becomes its PARAM line. A parameter is written only when the field differs
// from its default, except for the two lines that stand for more than one field.
enum class ParamValue {
    None, // no parameter of its own
    Raw, // the text as held
    QuotesEscaped, // every double quote as two apostrophes
    Scrambled, // the text through the lock scrambling when the project scrambles
    NamePartScrambled, // the file's name without its folder, then scrambled
    Number,
    Flag, // 1 when the flag is on, else 0
    Colour, // six upper-case hexadecimal digits, red first
    FontStyle, // bold (1) plus italic (2), written when not plain bold
    LockSource, // the lock input file's name (scrambled) when the locks are read from it, else
                // the lock lines
};

struct AppletParameter
{
    const char* name = nullptr;
    // The line's place in the parameter block, which keeps the applet's own order.
    int order = 0;
    ParamValue value = ParamValue::None;
};

// How a field's value reaches the modern box's settings: as its kind says (a text, a number, a
// flag as true or false, a colour as [red, green, blue]), or as the name of the sound file beside
// the page.
enum class BoxValue {
    None, // not a setting of the box
    AsKind,
    SoundName,
};

struct BoxSetting
{
    BoxValue value = BoxValue::None;
    // The setting's name in the box; null for the field's own name.
    const char* key = nullptr;
};

struct DocField
{
    const char* name;
    DocMember member;
    FieldDefault byDefault;
    FieldControl control;
    AppletParameter parameter = {};
    BoxSetting box = {};
    // The box's lock data is made from it (besides the locks): lock data made before it changed
    // is stale.
    bool shapesLockData = false;
};

// The stored fields in file order.
extern const DocField DocFields[32];

// One lock's texts, in the order the file stores them: name, member, the name the user knows it by
// and whether it may hold the "|" that separates the fields of a lock record.
struct LockField
{
    const char* name;
    QByteArray LockEntry::*member;
    const char* label;
    bool mayHoldSeparator;
};

extern const LockField LockFields[4];

// The field's default, loaded now (a string-table text is read afresh).
QByteArray DefaultText(const DocField& field);

// Sets the field to its default; a field kept on reset is left alone.
void ResetField(Doc& doc, const DocField& field);

// True when the field holds its default, compared exactly.
bool HoldsDefault(const Doc& doc, const DocField& field);

// The field's flag read by its own kind (Flag or FlagAtOne).
bool FlagIsOn(const Doc& doc, const DocField& field);

// The entry for member.
const DocField& FieldOf(const DocMember& member);
