#pragma once

#include "model/Doc.h"

#include <QByteArray>

#include <cstdint>
#include <limits>
#include <variant>

// What editing a stored field needs to know of it, wherever its row lives (the field table of
// DocFields.h, or the tagged block's table of SettingsBlock.h): how a control shows it and, for a
// number, the values a page takes. The pages and the command line's build refuse a number outside
// its range; a project file keeps whatever it holds.

using DocMember = std::variant<QByteArray Doc::*, std::int32_t Doc::*, Colour Doc::*>;

enum class FieldKind {
    Text,
    // Shown on several lines; the document keeps each line break as backslash + "n".
    LineBrokenText,
    Number,
    // The index of an entry in a fixed list.
    Choice,
    // On when non-zero.
    Flag,
    // On only when exactly 1.
    FlagAtOne,
    Colour,
};

struct FieldRange
{
    std::int32_t min = std::numeric_limits<std::int32_t>::min();
    std::int32_t max = std::numeric_limits<std::int32_t>::max();

    bool Holds(std::int32_t value) const { return value >= min && value <= max; }
};

struct FieldControl
{
    FieldKind kind = FieldKind::Text;
    FieldRange range = {};
};

// The control facts of member; every member a page or dialog binds has a row in one of the tables.
const FieldControl& ControlOf(const DocMember& member);
