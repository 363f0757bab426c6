#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <optional>

class ProjectArchive;

// One lock: the user ID a visitor types, its password, the address to jump to after a correct
// login and the target frame. Texts are 8-bit, held exactly as typed.
class LockEntry
{
public:
    QByteArray userId;
    QByteArray password;
    QByteArray url;
    QByteArray target;
    // The names of the member areas the lock opens; without a list it opens every area.
    std::optional<QByteArrayList> areas {};

    // True when any of the four texts or the areas differ, compared exactly and case-sensitively.
    bool DiffersFrom(const LockEntry& other) const;

    // Writes or reads the four texts in field order, depending on the archive's direction.
    void Serialize(ProjectArchive& archive);
};
