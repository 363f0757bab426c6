#include "generate/LockCrypto.h"

#include <QtGlobal>

#include <memory>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

namespace {

constexpr int kKeyLength = 32;
constexpr int kTagLength = 16;

void Require(bool succeeded)
{
    if (!succeeded)
        qFatal("libcrypto failed");
}

const unsigned char* Bytes(const QByteArray& bytes)
{
    return reinterpret_cast<const unsigned char*>(bytes.constData());
}

unsigned char* Bytes(QByteArray& bytes)
{
    return reinterpret_cast<unsigned char*>(bytes.data());
}

// Fetched once: looking the cipher up by name costs more than sealing a key with it.
const EVP_CIPHER* Aes256Gcm()
{
    static EVP_CIPHER* const cipher = EVP_CIPHER_fetch(nullptr, "AES-256-GCM", nullptr);
    Require(cipher != nullptr);
    return cipher;
}

} // namespace

QByteArray RandomBytes(int count)
{
    QByteArray bytes(count, Qt::Uninitialized);
    Require(RAND_bytes(Bytes(bytes), count) == 1);
    return bytes;
}

QByteArray DerivePbkdf2Sha256(const QByteArray& secret, const QByteArray& salt, int iterations)
{
    QByteArray key(kKeyLength, Qt::Uninitialized);
    Require(PKCS5_PBKDF2_HMAC(secret.constData(), int(secret.size()), Bytes(salt), int(salt.size()),
                iterations, EVP_sha256(), kKeyLength, Bytes(key))
        == 1);
    return key;
}

QByteArray HmacSha256(const QByteArray& key, const QByteArray& message)
{
    QByteArray mac(kKeyLength, Qt::Uninitialized);
    unsigned int length = 0;
    Require(HMAC(EVP_sha256(), key.constData(), int(key.size()), Bytes(message),
                std::size_t(message.size()), Bytes(mac), &length)
        != nullptr);
    Require(length == kKeyLength);
    return mac;
}

QByteArray SealAes256Gcm(const QByteArray& key, const QByteArray& iv, const QByteArray& plain)
{
    Require(key.size() == kKeyLength && iv.size() == 12);
    const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(
        EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    Require(context != nullptr);
    QByteArray sealed(plain.size() + kTagLength, Qt::Uninitialized);
    int written = 0;
    int finalWritten = 0;
    Require(EVP_EncryptInit_ex(context.get(), Aes256Gcm(), nullptr, Bytes(key), Bytes(iv)) == 1);
    Require(
        EVP_EncryptUpdate(context.get(), Bytes(sealed), &written, Bytes(plain), int(plain.size()))
        == 1);
    Require(EVP_EncryptFinal_ex(context.get(), Bytes(sealed) + written, &finalWritten) == 1);
    Require(written + finalWritten == plain.size());
    Require(EVP_CIPHER_CTX_ctrl(
                context.get(), EVP_CTRL_GCM_GET_TAG, kTagLength, Bytes(sealed) + plain.size())
        == 1);
    return sealed;
}
