#include "web/RateLimiter.h"

#include <cmath>

namespace web {

RateLimiter::RateLimiter(int burst, qint64 refillMs)
    : m_burst(burst)
    , m_refillMs(qMax<qint64>(refillMs, 1)) {}

double RateLimiter::level(const Bucket &bucket, qint64 now) const {
    const qint64 elapsed = qMax<qint64>(now - bucket.at, 0);
    return qMin<double>(m_burst, bucket.tokens + double(elapsed) / double(m_refillMs));
}

bool RateLimiter::take(const QString &key, qint64 now) {
    auto it = m_buckets.find(key);
    if (it == m_buckets.end()) {
        if (m_buckets.size() >= keyLimit) {
            m_buckets.removeIf([&](const auto &e) { return level(e.value(), now) >= m_burst; });
            // Every bucket is in use: the stalest goes, so that a flood of
            // new addresses costs bounded memory.
            if (m_buckets.size() >= keyLimit) {
                auto stalest = m_buckets.begin();
                for (auto b = m_buckets.begin(); b != m_buckets.end(); ++b) {
                    if (b->at < stalest->at)
                        stalest = b;
                }
                m_buckets.erase(stalest);
            }
        }
        it = m_buckets.insert(key, {double(m_burst), now});
    }
    const double tokens = level(*it, now);
    it->at = now;
    if (tokens < 1.0) {
        it->tokens = tokens;
        return false;
    }
    it->tokens = tokens - 1.0;
    return true;
}

qint64 RateLimiter::waitMs(const QString &key, qint64 now) const {
    const auto it = m_buckets.constFind(key);
    if (it == m_buckets.cend())
        return 0;
    const double tokens = level(*it, now);
    if (tokens >= 1.0)
        return 0;
    return qint64(std::ceil((1.0 - tokens) * double(m_refillMs)));
}

} // namespace web
