#include "generate/LockCrypto.h"

#include <QLibrary>
#include <QtGlobal>

#include <memory>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/opensslv.h>
#include <openssl/rand.h>

namespace {

// The libcrypto functions used here, looked up the first time one is needed: the program does not
// link libcrypto, so that starting the window neither maps nor relocates it.
struct LibCrypto
{
    decltype(&RAND_bytes) randBytes;
    decltype(&PKCS5_PBKDF2_HMAC) pbkdf2Hmac;
    decltype(&EVP_sha256) sha256;
    decltype(&HMAC) hmac;
    decltype(&EVP_CIPHER_fetch) cipherFetch;
    decltype(&EVP_CIPHER_CTX_new) cipherContextNew;
    decltype(&EVP_CIPHER_CTX_free) cipherContextFree;
    decltype(&EVP_CIPHER_CTX_ctrl) cipherContextControl;
    decltype(&EVP_EncryptInit_ex) encryptInit;
    decltype(&EVP_EncryptUpdate) encryptUpdate;
    decltype(&EVP_EncryptFinal_ex) encryptFinal;
};

template<typename Function> void Resolve(QLibrary& library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    if (!function)
        qFatal("libcrypto has no %s", name);
}

const LibCrypto& Crypto()
{
    static const LibCrypto crypto = [] {
        // The library of the headers' major version: libcrypto.so.3 for OpenSSL 3.
        QLibrary library(QStringLiteral("crypto"), OPENSSL_SHLIB_VERSION);
        if (!library.load())
            qFatal("%s", qPrintable(library.errorString()));
        LibCrypto functions {};
        Resolve(library, functions.randBytes, "RAND_bytes");
        Resolve(library, functions.pbkdf2Hmac, "PKCS5_PBKDF2_HMAC");
        Resolve(library, functions.sha256, "EVP_sha256");
        Resolve(library, functions.hmac, "HMAC");
        Resolve(library, functions.cipherFetch, "EVP_CIPHER_fetch");
        Resolve(library, functions.cipherContextNew, "EVP_CIPHER_CTX_new");
        Resolve(library, functions.cipherContextFree, "EVP_CIPHER_CTX_free");
        Resolve(library, functions.cipherContextControl, "EVP_CIPHER_CTX_ctrl");
        Resolve(library, functions.encryptInit, "EVP_EncryptInit_ex");
        Resolve(library, functions.encryptUpdate, "EVP_EncryptUpdate");
        Resolve(library, functions.encryptFinal, "EVP_EncryptFinal_ex");
        // The library stays loaded for the rest of the run.
        return functions;
    }();
    return crypto;
}

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
    static EVP_CIPHER* const cipher = Crypto().cipherFetch(nullptr, "AES-256-GCM", nullptr);
    Require(cipher != nullptr);
    return cipher;
}

} // namespace

QByteArray RandomBytes(int count)
{
    QByteArray bytes(count, Qt::Uninitialized);
    Require(Crypto().randBytes(Bytes(bytes), count) == 1);
    return bytes;
}

QByteArray DerivePbkdf2Sha256(const QByteArray& secret, const QByteArray& salt, int iterations)
{
    const LibCrypto& crypto = Crypto();
    QByteArray key(kKeyLength, Qt::Uninitialized);
    Require(crypto.pbkdf2Hmac(secret.constData(), int(secret.size()), Bytes(salt), int(salt.size()),
                iterations, crypto.sha256(), kKeyLength, Bytes(key))
        == 1);
    return key;
}

QByteArray HmacSha256(const QByteArray& key, const QByteArray& message)
{
    const LibCrypto& crypto = Crypto();
    QByteArray mac(kKeyLength, Qt::Uninitialized);
    unsigned int length = 0;
    Require(crypto.hmac(crypto.sha256(), key.constData(), int(key.size()), Bytes(message),
                std::size_t(message.size()), Bytes(mac), &length)
        != nullptr);
    Require(length == kKeyLength);
    return mac;
}

QByteArray SealAes256Gcm(const QByteArray& key, const QByteArray& iv, const QByteArray& plain)
{
    Require(key.size() == kKeyLength && iv.size() == 12);
    const LibCrypto& crypto = Crypto();
    const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(
        crypto.cipherContextNew(), crypto.cipherContextFree);
    Require(context != nullptr);
    QByteArray sealed(plain.size() + kTagLength, Qt::Uninitialized);
    int written = 0;
    int finalWritten = 0;
    Require(crypto.encryptInit(context.get(), Aes256Gcm(), nullptr, Bytes(key), Bytes(iv)) == 1);
    Require(crypto.encryptUpdate(
                context.get(), Bytes(sealed), &written, Bytes(plain), int(plain.size()))
        == 1);
    Require(crypto.encryptFinal(context.get(), Bytes(sealed) + written, &finalWritten) == 1);
    Require(written + finalWritten == plain.size());
    Require(crypto.cipherContextControl(
                context.get(), EVP_CTRL_GCM_GET_TAG, kTagLength, Bytes(sealed) + plain.size())
        == 1);
    return sealed;
}
