#include "generate/LockKeyCache.h"

#include "generate/LockCrypto.h"

#include <QSet>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr std::chrono::milliseconds kProgressInterval(50);

// Derives one key per secret on worker threads while the calling thread reports progress.
class ParallelDerivation
{
public:
    ParallelDerivation(const QByteArrayList& secrets, const QByteArray& salt, int iterations)
        : m_secrets(secrets)
        , m_salt(salt)
        , m_iterations(iterations)
        , m_keys(std::size_t(secrets.size()))
    {
    }

    // The keys in the order of the secrets; a key stays empty when cancelled before its turn.
    const std::vector<QByteArray>& Run(const LockProgress& progress)
    {
        const int total = int(m_secrets.size());
        if (progress && !progress(0, total))
            return m_keys;
        const int threadCount = std::max(1, std::min(QThread::idealThreadCount(), total));
        std::vector<std::thread> workers;
        for (int i = 0; i < threadCount; ++i)
            workers.emplace_back(&ParallelDerivation::Work, this);
        for (int reported = 0;;) {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_changed.wait_for(lock, kProgressInterval, [&] { return m_derived != reported; });
                reported = m_derived;
            }
            const bool goOn = !progress || progress(reported, total);
            if (reported == total)
                break;
            if (!goOn) {
                m_cancelled = true;
                break;
            }
        }
        for (std::thread& worker : workers)
            worker.join();
        return m_keys;
    }

private:
    void Work()
    {
        for (;;) {
            const std::size_t index = m_next++;
            if (index >= m_keys.size() || m_cancelled)
                return;
            m_keys[index] = DerivePbkdf2Sha256(m_secrets[qsizetype(index)], m_salt, m_iterations);
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_derived;
            m_changed.notify_one();
        }
    }

    const QByteArrayList& m_secrets;
    const QByteArray& m_salt;
    const int m_iterations;
    std::vector<QByteArray> m_keys;
    std::atomic<std::size_t> m_next { 0 };
    std::atomic<bool> m_cancelled { false };
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_derived = 0;
};

} // namespace

LockKeyCache::LockKeyCache(QByteArray salt)
    : m_salt(std::move(salt))
{
}

const QByteArray& LockKeyCache::Salt() const
{
    if (m_salt.isEmpty())
        m_salt = RandomBytes(kSaltLength);
    return m_salt;
}

bool LockKeyCache::Derive(
    const QByteArrayList& secrets, int iterations, const LockProgress& progress)
{
    QByteArrayList missing;
    QSet<QByteArray> listed;
    for (const QByteArray& secret : secrets) {
        if (!m_keys.contains({ secret, iterations }) && !listed.contains(secret)) {
            listed.insert(secret);
            missing.append(secret);
        }
    }
    if (missing.isEmpty())
        return true;

    ParallelDerivation derivation(missing, Salt(), iterations);
    const std::vector<QByteArray>& keys = derivation.Run(progress);
    bool complete = true;
    for (qsizetype i = 0; i < missing.size(); ++i) {
        const QByteArray& key = keys[std::size_t(i)];
        if (key.isEmpty())
            complete = false;
        else
            m_keys.insert({ missing[i], iterations }, key);
    }
    return complete;
}

QByteArray LockKeyCache::Key(const QByteArray& secret, int iterations) const
{
    return m_keys.value({ secret, iterations });
}
