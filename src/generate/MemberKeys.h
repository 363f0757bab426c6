#pragma once

#include "model/MemberArea.h"

#include <QByteArray>
#include <QByteArrayList>

class Doc;

// Keeping the area keys in step with the members. An area keeps its key across publishes while
// every member who could open it still can, so that their kept logins stay valid; as soon as one of
// them is removed, loses the area, or has their user ID or password changed, the area gets a new
// key, and whatever that member kept opens nothing published afterwards. New members join an
// area without a new key.
//
// Each member is noticed by a tag: HMAC-SHA256(AK, "zarnith-area-member" + 0 byte + the lock's
// secret) cut to 16 bytes, the secret being what the lock's key is derived from (LockSecret). An
// area stores the sorted tags of its members; a stored tag that no member gives any more means
// someone lost access.

// Gives every area without a key a new one, a new key to every area that lost a member, and
// stores the tags of the current members. The names of the areas that got a new key, in area
// order.
QByteArrayList RefreshAreaKeys(Doc& doc);

// RefreshAreaKeys for a project being edited: marks it modified when an area's key or members
// changed, so that the keys a publish sealed its files with are saved with it. True when so.
bool KeepAreaKeysCurrent(Doc& doc);

// Whether every area has a key that no member lost since it was given: what RefreshAreaKeys
// would keep. Published files sealed otherwise would open for someone who left.
bool AreaKeysAreCurrent(const Doc& doc);

// New keys for every area at once ("New Keys"): every kept login of the site opens nothing more.
void ReplaceAreaKeys(Doc& doc);

// The sorted tags of the members who open area under its key now.
QByteArray CurrentMemberTags(const Doc& doc, const MemberArea& area);
