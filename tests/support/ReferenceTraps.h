#pragma once

#include "generate/TableCipher.h"
#include "model/Doc.h"

#include <QByteArrayList>
#include <QRandomGenerator>

// A scrambling project whose scrambled values hold what a browser would decode as character
// references in an attribute, with and without ";": the fail URL and the first locks are made
// from the plain texts that scramble to such references, and randomLocks random locks add the
// cases nobody thought of (about one in five thousand meets one).
inline Doc DocWithReferenceTraps(int randomLocks)
{
    const auto plainFor = [](const QByteArray& scrambled) {
        return TableCipher::WithFixedKey().Decipher(scrambled);
    };
    Doc doc;
    doc.encrypt = 1;
    doc.failUrl = plainFor("&gt+lt;");
    for (const QByteArray trap : { "&gt+x", "&LT/x", "&amp", "&copy;", "&#65;", "&notin", "&ge;",
             "&lt=x", "x&Aacute.", "&AMP;&" }) {
        LockEntry lock;
        lock.userId = plainFor(trap);
        lock.url = "a.html";
        doc.locks.push_back(lock);
    }
    QRandomGenerator random(5);
    for (int i = 0; i < randomLocks; ++i) {
        LockEntry lock;
        for (QByteArray* field : { &lock.userId, &lock.password, &lock.url }) {
            for (int length = random.bounded(1, 12); length > 0; --length)
                *field += char(random.bounded(35, 127)); // printable, without blank and quote
            field->replace('|', '!'); // which would split the record
        }
        doc.locks.push_back(lock);
    }
    return doc;
}
