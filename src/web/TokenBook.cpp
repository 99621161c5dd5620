#include "web/TokenBook.h"

#include <QRandomGenerator>

namespace web {

QByteArray TokenBook::issue(const QString &user, Role role, qint64 now) {
    if (m_grants.size() >= tokenLimit) {
        auto oldest = m_grants.begin();
        for (auto it = m_grants.begin(); it != m_grants.end(); ++it) {
            if (it->lastUse < oldest->lastUse)
                oldest = it;
        }
        m_grants.erase(oldest);
    }
    quint32 words[8];
    QRandomGenerator::system()->fillRange(words);
    const QByteArray token =
        QByteArray(reinterpret_cast<const char *>(words), sizeof(words))
            .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    m_grants.insert(token, {user, role, now});
    return token;
}

std::optional<TokenBook::Grant> TokenBook::use(const QByteArray &token, qint64 now) {
    const auto it = m_grants.find(token);
    if (it == m_grants.end())
        return std::nullopt;
    if (now - it->lastUse > idleMs) {
        m_grants.erase(it);
        return std::nullopt;
    }
    it->lastUse = now;
    return *it;
}

void TokenBook::revoke(const QByteArray &token) {
    m_grants.remove(token);
}

void TokenBook::revokeUser(const QString &user) {
    m_grants.removeIf([&](const auto &entry) { return entry.value().user == user; });
}

bool TokenBook::holds(const QString &user) const {
    for (const Grant &grant : m_grants) {
        if (grant.user == user)
            return true;
    }
    return false;
}

} // namespace web
