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

// "classic", "modern" or "both": the names the command line and the settings use.
QByteArray BoxKindName(BoxKind kind);
std::optional<BoxKind> ParseBoxKind(const QByteArray& name);

// Whether pages of the kind carry the applet, and the modern box.
bool UsesApplet(BoxKind kind);
bool UsesModernBox(BoxKind kind);
