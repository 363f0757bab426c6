#pragma once

#include "model/MemberArea.h"

#include <QByteArray>
#include <QList>

#include <mutex>

// Files of a member area as they lie on the server: encrypted under a content key of their own,
// which each area holding the file can unwrap with its area key.
//
// An area key AK is 32 random bytes; the area's id is HMAC-SHA256(AK, "zarnith-area-id") cut to 16
// bytes. A protected file gets a fresh 32-byte content key CK and is sealed as
// AES-256-GCM(CK, iv, the file's bytes) with a fresh 12-byte iv; for every area that holds it, CK
// is wrapped as AES-256-GCM(AK, iv', CK) with a fresh iv' and listed under the area's id. Every
// AES-GCM text is the ciphertext followed by its 16-byte tag, without associated data.

// A protected file is refused beyond this size: a browser must hold all of it in memory to open it.
inline constexpr qint64 kMaxProtectedFileSize = 256 * 1024 * 1024;

// 32 fresh random bytes.
QByteArray NewAreaKey();

// The public name of an area key: HMAC-SHA256(key, "zarnith-area-id"), first 16 bytes.
QByteArray AreaId(const QByteArray& areaKey);

// An area key with its id, worked out once for many files.
struct AreaSealKey
{
    explicit AreaSealKey(const QByteArray& areaKey);

    QByteArray id;
    QByteArray key;
};

// The header every protected form carries: the data's iv and one wrapped content key per area,
//   {"format":F,"iv":B64,"keys":[{"area":B64 id,"iv":B64,"key":B64 wrapped CK},...]}
// in the order the areas were given; F is "zarnith-file/1" or "zarnith-page/1".
struct SealedContent
{
    QByteArray headerJson; // without its closing "}", so that a page can add its data
    QByteArray data; // AES-256-GCM(CK, iv, plain) with its tag
};

// Fresh random bytes for many files, drawn from libcrypto a few kilobytes at a time: a draw of
// their own costs each file as much as sealing a small one. May be shared between threads.
class RandomPool
{
public:
    QByteArray Take(int count);

private:
    std::mutex m_mutex;
    QByteArray m_bytes;
    qsizetype m_taken = 0;
};

// The content key and every iv are taken from random.
SealedContent SealContent(
    const QByteArray& plain, const QList<AreaSealKey>& areas, bool isPage, RandomPool& random);

// A protected file that is not a page, as written: the header closed by "}", one line feed, then
// the data's bytes. It starts with the bytes of ProtectedFileMagic, which nothing else on the site
// does.
QByteArray ProtectedFileBytes(const SealedContent& sealed);
extern const char ProtectedFileMagic[];

// Appends a protected page's content to page: the header with the data added as base64,
//   {"format":"zarnith-page/1","iv":...,"keys":[...],"data":B64}
// ASCII only and without "<", so it may sit in a script element as it is.
void AppendProtectedPageJson(QByteArray& page, const SealedContent& sealed);
