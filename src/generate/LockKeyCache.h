#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>

#include <functional>
#include <utility>

// Reports progress on the calling thread while keys are derived: first with none derived, then
// after each key and at least every 50 ms; derived of total keys are done. Returning false
// cancels; keys already derived stay in the cache.
using LockProgress = std::function<bool(int derived, int total)>;

// The keys derived from lock secrets with one salt, so that a lock whose secret is unchanged is
// never derived twice. All lock data built with one cache shares its salt: the window keeps one
// cache for the open project and makes a new one on New and Open, so regenerating after an edit
// derives only the locks that changed; every command-line run makes its own, and with it a fresh
// salt.
class LockKeyCache
{
public:
    static constexpr int kSaltLength = 16;

    // A cache with a new random salt, drawn when first needed: the window's start draws none.
    LockKeyCache() = default;
    // A cache with the given salt, for outputs that must be reproducible.
    explicit LockKeyCache(QByteArray salt);

    const QByteArray& Salt() const;

    // Derives the key of every secret the cache does not hold yet, each distinct secret once, on
    // all cores. False when progress cancelled before all were derived.
    bool Derive(const QByteArrayList& secrets, int iterations, const LockProgress& progress = {});

    // The derived key of secret; empty when it has not been derived.
    QByteArray Key(const QByteArray& secret, int iterations) const;

private:
    // Empty until drawn.
    mutable QByteArray m_salt;
    QHash<std::pair<QByteArray, int>, QByteArray> m_keys;
};
