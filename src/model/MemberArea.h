#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <cstddef>
#include <optional>
#include <vector>

class Doc;
class LockEntry;

// An area key's length, and that of the tag by which an area notices each of its members.
inline constexpr int kAreaKeyLength = 32;
inline constexpr int kMemberTagLength = 16;

// The box's texts for members and the two messages it shows of itself, by default (line breaks as
// backslash + "n", as in the project's other texts).
namespace BoxTextDefault {
inline constexpr char kRememberLabel[] = "Remember me";
inline constexpr char kLogoutLabel[] = "Log out";
inline constexpr char kNoAccessMessage[] = "Your account does not open this page.";
inline constexpr char kInsecureMessage[]
    = "This login box works only on a secure page\\n(https://, or a file on this computer).";
inline constexpr char kLoadFailedMessage[] = "The locks could not be loaded.\\nTrying again...";
} // namespace BoxTextDefault

// A member area: the files of the site folder that its patterns match, published encrypted so
// that only the locks that open the area can read them.
struct MemberArea
{
    QByteArray name;
    // Relative to the site folder (see AreaPattern.h).
    QByteArrayList patterns;
    // The area key (32 bytes), kept so that a new publish does not log out members whose access
    // did not change; empty until the area first gets one.
    QByteArray key;
    // What notices a change of the area's members: one 16-byte tag per member who could open the
    // area when the key was last checked, sorted, side by side (see MemberKeys.h).
    QByteArray memberTags;

    bool operator==(const MemberArea& other) const
    {
        return name == other.name && patterns == other.patterns && key == other.key
            && memberTags == other.memberTags;
    }
    bool operator!=(const MemberArea& other) const { return !(*this == other); }
};

// Whether the lock opens the area: a lock without its own list opens every area.
bool LockOpensArea(const LockEntry& lock, const MemberArea& area);

// The first area of the project with that name; null when there is none.
const MemberArea* FindArea(const Doc& doc, const QByteArray& name);

// The longest "Remember me" a project may ask for, in days.
inline constexpr int kMaxRememberDays = 365;

// Why the project's areas cannot be published, or nothing: an empty or repeated area name, a
// pattern that leaves the site folder, a lock naming an area the project lacks (named by the
// lock's number counted from 1), a remember-me time outside 0 to kMaxRememberDays.
std::optional<QByteArray> MemberAreasProblem(const Doc& doc);
