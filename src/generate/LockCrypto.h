#pragma once

#include <QByteArray>

// The libcrypto primitives the encrypted locks are made of. A failure inside libcrypto (which
// only running out of memory or entropy causes) ends the program: lock data with a weak key or a
// repeated nonce must never be written.

// Bytes from the system's cryptographic random source.
QByteArray RandomBytes(int count);

// PBKDF2-HMAC-SHA256 of secret with salt and the iteration count: 32 bytes.
QByteArray DerivePbkdf2Sha256(const QByteArray& secret, const QByteArray& salt, int iterations);

// HMAC-SHA256 of message under key: 32 bytes.
QByteArray HmacSha256(const QByteArray& key, const QByteArray& message);

// AES-256-GCM encryption of plain under the 32-byte key and 12-byte iv, without associated data:
// the ciphertext followed by the 16-byte tag, as WebCrypto's encrypt gives it.
QByteArray SealAes256Gcm(const QByteArray& key, const QByteArray& iv, const QByteArray& plain);
