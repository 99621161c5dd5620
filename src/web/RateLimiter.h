#pragma once

#include <QHash>
#include <QString>

namespace web {

// So many actions per key (an address, a socket) in a time, with a burst:
// a bucket of `burst` tokens refilled at one every `refillMs`. At most
// 4,096 keys are kept; a full bucket is forgotten first, since forgetting it
// changes nothing.
class RateLimiter {
public:
    static constexpr int keyLimit = 4096;

    RateLimiter(int burst, qint64 refillMs);

    // Takes one token; false when the key has none left.
    bool take(const QString &key, qint64 now);
    // How long until the key has a token again (0: it has one).
    qint64 waitMs(const QString &key, qint64 now) const;
    void forget(const QString &key) { m_buckets.remove(key); }
    int size() const { return int(m_buckets.size()); }

private:
    struct Bucket {
        double tokens = 0;
        qint64 at = 0;
    };
    double level(const Bucket &bucket, qint64 now) const;

    int m_burst;
    qint64 m_refillMs;
    QHash<QString, Bucket> m_buckets;
};

} // namespace web
