#include "model/BoxKind.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<BoxKind, const char*>, 3> kNames { {
    { BoxKind::Classic, "classic" },
    { BoxKind::Modern, "modern" },
    { BoxKind::Both, "both" },
} };

} // namespace

QByteArray BoxKindName(BoxKind kind)
{
    for (const auto& [known, name] : kNames) {
        if (known == kind)
            return name;
    }
    return {};
}

std::optional<BoxKind> ParseBoxKind(const QByteArray& name)
{
    for (const auto& [kind, known] : kNames) {
        if (name == known)
            return kind;
    }
    return std::nullopt;
}

bool UsesApplet(BoxKind kind)
{
    return kind != BoxKind::Modern;
}

bool UsesModernBox(BoxKind kind)
{
    return kind != BoxKind::Classic;
}
