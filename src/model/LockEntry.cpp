#include "model/LockEntry.h"

#include "model/DocFields.h"
#include "model/ProjectArchive.h"

bool LockEntry::DiffersFrom(const LockEntry& other) const
{
    return userId != other.userId || password != other.password || url != other.url
        || target != other.target || areas != other.areas;
}

void LockEntry::Serialize(ProjectArchive& archive)
{
    for (const LockField& field : LockFields)
        archive.Text(this->*field.member);
}
