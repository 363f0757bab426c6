#pragma once

#include <QByteArray>

#include <optional>

// Which login box the outputs carry: the Java applet, the box that runs in today's browsers, or
// the applet with the modern box as its content for browsers without Java.
enum class BoxKind {
    Classic,
    Modern,
    Both,
};

// "classic", "modern" or "both": the names the command line, the JSON and the settings use.
QByteArray BoxKindName(BoxKind kind);
std::optional<BoxKind> ParseBoxKind(const QByteArray& name);

// Whether pages of the kind carry the applet, and the modern box.
bool UsesApplet(BoxKind kind);
bool UsesModernBox(BoxKind kind);

// The PBKDF2 iteration count of the modern box's locks: what a project uses unless it says
// otherwise, and the range a published page may use. Below the minimum a guessed password costs
// too little; beyond the maximum a visitor's browser would take minutes for one login.
namespace IterationCount {
inline constexpr int kDefault = 600000;
inline constexpr int kPublishMinimum = 100000;
inline constexpr int kMaximum = 10000000;
} // namespace IterationCount
