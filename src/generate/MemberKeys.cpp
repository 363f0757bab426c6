#include "generate/MemberKeys.h"

#include "generate/LockCrypto.h"
#include "generate/LockData.h"
#include "generate/ProtectedFile.h"
#include "model/Doc.h"

#include <QCryptographicHash>
#include <QMutex>
#include <QSet>

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

// A digest of everything the area's member tags are made of: its key, the case folding, and the
// user ID and password, as stored, of each lock that opens it.
QByteArray MembersDigest(const Doc& doc, const MemberArea& area)
{
    QCryptographicHash digest(QCryptographicHash::Sha256);
    const auto add = [&digest](const QByteArray& part) {
        const qint64 size = part.size();
        digest.addData(QByteArrayView(reinterpret_cast<const char*>(&size), sizeof size));
        digest.addData(part);
    };
    add(area.key);
    add(doc.IgnoresCase() ? "fold" : "");
    for (const LockEntry& lock : doc.locks) {
        if (LockOpensArea(lock, area)) {
            add(lock.userId);
            add(lock.password);
        }
    }
    return digest.result();
}

// The area's stored tags and the digest of what they were worked out from.
QByteArray TagsWithTheirMembers(const Doc& doc, const MemberArea& area)
{
    return MembersDigest(doc, area)
        + QCryptographicHash::hash(area.memberTags, QCryptographicHash::Sha256);
}

// The areas whose stored tags were worked out from their members as they are now. Keys are renewed
// before every output and checked again in its plan: with this the check, and a renewal when
// nothing changed, cost a digest of the locks instead of an HMAC of every member's normalised
// secret. Only what was worked out is remembered, so a stale entry never matches.
class KnownTags
{
public:
    bool AreCurrent(const Doc& doc, const MemberArea& area) const
    {
        const QByteArray entry = TagsWithTheirMembers(doc, area);
        const QMutexLocker lock(&m_mutex);
        return m_entries.contains(entry);
    }

    void Remember(const Doc& doc, const MemberArea& area)
    {
        const QByteArray entry = TagsWithTheirMembers(doc, area);
        const QMutexLocker lock(&m_mutex);
        if (m_entries.size() >= kMaxEntries)
            m_entries.clear();
        m_entries.insert(entry);
    }

private:
    static constexpr qsizetype kMaxEntries = 1024;
    mutable QMutex m_mutex;
    QSet<QByteArray> m_entries;
};

KnownTags& Known()
{
    static KnownTags known;
    return known;
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
        const bool keyed = area.key.size() == kAreaKeyLength;
        if (keyed && Known().AreCurrent(doc, area))
            continue;
        // The tags depend on the key: made again only under a new one.
        QByteArray tags;
        if (keyed)
            tags = CurrentMemberTags(doc, area);
        if (!keyed || LostAMember(area.memberTags, tags)) {
            area.key = NewAreaKey();
            replaced.append(area.name);
            tags = CurrentMemberTags(doc, area);
        }
        area.memberTags = tags;
        Known().Remember(doc, area);
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
            && (Known().AreCurrent(doc, area)
                || !LostAMember(area.memberTags, CurrentMemberTags(doc, area)));
    });
}

void ReplaceAreaKeys(Doc& doc)
{
    for (MemberArea& area : doc.areas)
        area.key.clear();
    RefreshAreaKeys(doc);
}
