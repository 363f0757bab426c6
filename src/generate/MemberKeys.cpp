#include "generate/MemberKeys.h"

#include "generate/LockCrypto.h"
#include "generate/LockData.h"
#include "generate/ProtectedFile.h"
#include "model/Doc.h"

#include <algorithm>
#include <set>

namespace {

std::set<QByteArray> Tags(const QByteArray& joined)
{
    std::set<QByteArray> tags;
    for (qsizetype at = 0; at + kMemberTagLength <= joined.size(); at += kMemberTagLength)
        tags.insert(joined.mid(at, kMemberTagLength));
    return tags;
}

bool LostAMember(const QByteArray& storedTags, const QByteArray& currentTags)
{
    const std::set<QByteArray> current = Tags(currentTags);
    const std::set<QByteArray> stored = Tags(storedTags);
    return !std::includes(current.begin(), current.end(), stored.begin(), stored.end());
}

} // namespace

QByteArray CurrentMemberTags(const Doc& doc, const MemberArea& area)
{
    const bool fold = doc.IgnoresCase();
    std::set<QByteArray> tags;
    for (const LockEntry& lock : doc.locks) {
        if (LockOpensArea(lock, area))
            tags.insert(HmacSha256(
                area.key, "zarnith-area-member" + QByteArray(1, '\0') + LockSecret(lock, fold))
                            .left(kMemberTagLength));
    }
    QByteArray joined;
    for (const QByteArray& tag : tags)
        joined += tag;
    return joined;
}

QByteArrayList RefreshAreaKeys(Doc& doc)
{
    QByteArrayList replaced;
    for (MemberArea& area : doc.areas) {
        // The tags depend on the key: made again only under a new one.
        QByteArray tags;
        if (area.key.size() == kAreaKeyLength)
            tags = CurrentMemberTags(doc, area);
        if (area.key.size() != kAreaKeyLength || LostAMember(area.memberTags, tags)) {
            area.key = NewAreaKey();
            replaced.append(area.name);
            tags = CurrentMemberTags(doc, area);
        }
        area.memberTags = tags;
    }
    return replaced;
}

bool KeepAreaKeysCurrent(Doc& doc)
{
    const std::vector<MemberArea> before = doc.areas;
    RefreshAreaKeys(doc);
    if (doc.areas == before)
        return false;
    doc.SetModified();
    return true;
}

bool AreaKeysAreCurrent(const Doc& doc)
{
    return std::all_of(doc.areas.begin(), doc.areas.end(), [&](const MemberArea& area) {
        return area.key.size() == kAreaKeyLength
            && !LostAMember(area.memberTags, CurrentMemberTags(doc, area));
    });
}

void ReplaceAreaKeys(Doc& doc)
{
    for (MemberArea& area : doc.areas)
        area.key.clear();
    RefreshAreaKeys(doc);
}
