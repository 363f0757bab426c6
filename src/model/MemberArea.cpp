#include "model/MemberArea.h"

#include "model/AreaPattern.h"
#include "model/Doc.h"

#include <QSet>

bool LockOpensArea(const LockEntry& lock, const MemberArea& area)
{
    return !lock.areas || lock.areas->contains(area.name);
}

const MemberArea* FindArea(const Doc& doc, const QByteArray& name)
{
    for (const MemberArea& area : doc.areas) {
        if (area.name == name)
            return &area;
    }
    return nullptr;
}

std::optional<QByteArray> MemberAreasProblem(const Doc& doc)
{
    QSet<QByteArray> names;
    for (const MemberArea& area : doc.areas) {
        if (area.name.trimmed().isEmpty())
            return QByteArray("an area needs a name");
        if (names.contains(area.name))
            return "two areas are called \"" + area.name + "\"";
        names.insert(area.name);
        for (const QByteArray& pattern : area.patterns) {
            if (const std::optional<QByteArray> problem = AreaPatternProblem(pattern))
                return "area \"" + area.name + "\": " + *problem;
        }
    }
    for (std::size_t i = 0; i < doc.locks.size(); ++i) {
        for (const QByteArray& name : doc.locks[i].areas.value_or(QByteArrayList())) {
            if (!names.contains(name))
                return "lock " + QByteArray::number(qulonglong(i + 1)) + " opens the area \"" + name
                    + "\", which the project does not have";
        }
    }
    if (doc.rememberDays < 0 || doc.rememberDays > kMaxRememberDays)
        return "the days to remember a login must be from 0 to "
            + QByteArray::number(kMaxRememberDays);
    return std::nullopt;
}
