#pragma once

#include "generate/LockKeyCache.h"
#include "model/BoxKind.h"

#include <QByteArray>

#include <optional>

class Doc;
class LockEntry;

// Where lock data goes decides the least iteration count it may use: published pages must make
// every password guess cost real work, while the preview never leaves the machine.
enum class LockDataUse { Publish, Preview };

// A PBKDF2 iteration count that has been checked for where its lock data goes.
class LockIterations
{
public:
    static constexpr int kDefault = IterationCount::kDefault;
    static constexpr int kPublishMinimum = IterationCount::kPublishMinimum;
    static constexpr int kMaximum = IterationCount::kMaximum;

    // The least count allowed for use: kPublishMinimum, or 1 for the preview.
    static int Minimum(LockDataUse use);

    // The count when it lies between Minimum(use) and kMaximum; nothing otherwise.
    static std::optional<LockIterations> Checked(int count, LockDataUse use);

    int Count() const { return m_count; }

private:
    explicit LockIterations(int count)
        : m_count(count)
    {
    }

    int m_count;
};

// One typed text as the login box compares it: UTF-8 of its SecretTextForm (NFC; with fold, the
// frozen upper case).
QByteArray LockSecretPart(const QByteArray& text, bool fold);

// What a visitor's user ID and password turn into before key derivation: LockSecretPart of the
// user ID, one 0 byte, LockSecretPart of the password.
QByteArray LockSecret(const LockEntry& lock, bool fold);

// A compact JSON object with blanks put before its closing brace, to a multiple of 64 bytes.
QByteArray PaddedJsonObject(const QByteArray& object);

// What of the document lock data is made from, besides the keys' salt and count: the fields the
// field table marks as shaping it, each area's name and key, and the locks (by their stamp). Lock
// data made while this was the same is still current.
QByteArray LockDataInputs(const Doc& doc);

// The modern box's lock data: the JSON object
//   {"format":"zarnith-locks/2","iterations":I,"salt":B64,"fold":true|false,
//    "locks":[{"id":B64,"iv":B64,"data":B64},...]}
// one entry per distinct id (the first lock in project order wins, as the applet takes the first
// match), sorted by the id's bytes. fold is the project's ignore case. Each lock's key K is
// PBKDF2-HMAC-SHA256 of its secret with the cache's salt; id is HMAC-SHA256(K, "zarnith-lock-id")
// cut to 16 bytes, and data is AES-256-GCM under HMAC-SHA256(K, "zarnith-lock-key") with a fresh
// random iv, of the UTF-8 JSON object {"url":...,"target":...} (in a project with member areas
// also "areas": the base64 keys of the areas the lock opens, in area order) padded by
// PaddedJsonObject, with the tag appended. Keys come from cache and missing ones are
// derived into it (see LockKeyCache::Derive for progress). Nothing when cancelled.
// The text is compact JSON with no "<", so it may sit in a script element as it is.
std::optional<QByteArray> BuildLockData(const Doc& doc, LockIterations iterations,
    LockKeyCache& cache, const LockProgress& progress = {});
