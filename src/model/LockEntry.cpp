#include "model/LockEntry.h"

#include "model/ProjectArchive.h"

bool LockEntry::DiffersFrom(const LockEntry& other) const
{
    return userId != other.userId || password != other.password || url != other.url
        || target != other.target;
}

void LockEntry::Serialize(ProjectArchive& archive)
{
    archive.Text(userId);
    archive.Text(password);
    archive.Text(url);
    archive.Text(target);
}
